#include "picpintable.h"

#include "common/owntext.h"

#include "common/fields.h"

#include <algorithm>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
const QChar kSep(17); // DC1 between the entries of a ".pin" line

QChar letter(int port)
{
    return QChar(97 + port);
}

QString slashLine()
{
    return QString(61, u'/');
}

QString dashLine()
{
    return QStringLiteral("//") + QString(59, u'-');
}

const char* const kModeStatement[] = {"#use fast_io(", "#use fixed_io(", "#use standard_io("};

// The equate line of one pin; "" when it has neither name nor comment.
QString equate(const PinEntry& e, int port, int bit)
{
    if (e.name.isEmpty() && e.comment.isEmpty())
        return QString();
    QString line;
    if (!e.name.isEmpty())
        line = QStringLiteral("#define     ") + e.name +
               QString(std::max<qsizetype>(0, PinTable::nameLength - e.name.size()), u' ');
    else
        line = QStringLiteral("//#define   name        ");
    line += QStringLiteral("pin_") + letter(port) + QChar(u'0' + bit);
    if (!e.comment.isEmpty())
        line += QStringLiteral("          //") + e.comment;
    return line;
}

// The port byte over all eight bits (also those the device lacks) whose
// field holds the given text.
int portByte(const PinTable& t, int port, QString PinEntry::*field, const QString& value)
{
    int v = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (t.entry[size_t(8 * port + bit)].*field == value)
            v |= 1 << bit;
    return v;
}

// Device pin groups: keys of the parts and the last pin entry each has
// (ports A0-A5 always, then B onward up to the last entry).
struct PinGroup {
    const char* keys[4];
    int last;
};
const PinGroup kGroups[] = {
    {{"16c73", "16f873", "16f876", "18f242"}, 23},
    {{"18f252", nullptr, nullptr, nullptr}, 23},
    {{"16c74", "16f877", "18f442", "18f452"}, 34},
    {{"18f6520", "18f6620", nullptr, nullptr}, 52},
};

QString clean(QString text)
{
    for (QChar& c : text)
        if (c == kSep || c == u'\r' || c == u'\n')
            c = u' ';
    return text;
}
} // namespace

QString pinDefinitions(const PinTable& t)
{
    QString out;
    auto line = [&out](const QString& s) { out += s + kCrLf; };

    line(slashLine());
    line(QStringLiteral("//Place in header file to setup I/O handling for ports      /"));
    line(slashLine());
    for (int p = 0; p < PinTable::ports; ++p)
        if (t.portEnabled(p))
            line(QLatin1String(kModeStatement[std::clamp(t.mode[size_t(p)], 0, 2)]) + letter(p) + u')');
    line(slashLine());
    line(QString());
    line(QString());

    line(slashLine());
    line(QStringLiteral("//Place in equate file for global define of port pin names  /"));
    line(slashLine());
    for (int p = 0; p < PinTable::ports; ++p) {
        if (t.portEnabled(p) && p != 0)
            line(dashLine());
        for (int bit = 0; bit < 8; ++bit) {
            const PinEntry& e = t.entry[size_t(8 * p + bit)];
            if (!e.enabled)
                continue;
            const QString s = equate(e, p, bit);
            if (!s.isEmpty())
                line(s);
        }
    }
    line(slashLine());
    line(QString());
    line(QString());
    line(QString());

    line(slashLine());
    line(QStringLiteral("//Place in 'Main' function of root C code file for fast_io  /"));
    line(slashLine());
    for (int p = 0; p < PinTable::ports; ++p)
        if (t.portEnabled(p))
            line(QStringLiteral("output_") + letter(p) + QStringLiteral("(0x") +
                 hexpad(portByte(t, p, &PinEntry::data, QStringLiteral("1")), 2) + QStringLiteral("); "));
    line(dashLine());
    for (int p = 0; p < PinTable::ports; ++p)
        if (t.portEnabled(p))
            line(QStringLiteral("set_tris_") + letter(p) + QStringLiteral("(0x") +
                 hexpad(portByte(t, p, &PinEntry::direction, QStringLiteral("I")), 2) +
                 QStringLiteral("); "));

    line(slashLine());
    line(QStringLiteral("//Select 1 or none of the following statements as required  /"));
    line(slashLine());
    if (t.entry[8].enabled) {
        line(QStringLiteral("port_b_pullups(true);"));
        line(QStringLiteral("port_b_pullups(false);"));
    }
    line(slashLine());
    return out;
}

QStringList pinDevices()
{
    QStringList items = QStringLiteral("12------------,16------------,18------------"
                                       ",16c73,16c74,16f873,16f876,16f877,18f242,18f252,18f442,18f452"
                                       ",18f6520,18f6620")
                            .split(u',');
    std::sort(items.begin(), items.end()); // by character code
    QStringList out{QStringLiteral("All Pins")};
    for (const QString& item : items)
        out << QStringLiteral("PIC") + item.toUpper();
    return out;
}

bool devicePin(const QString& deviceEntry, int entry)
{
    const QString key = deviceEntry.mid(3, 25).toLower();
    for (const PinGroup& g : kGroups)
        for (const char* k : g.keys)
            if (k && key == QLatin1String(k))
                return (entry >= 0 && entry <= 5) || (entry >= 8 && entry <= g.last);
    return entry >= 0 && entry < PinTable::pins;
}

QByteArray pinFile(const QString& deviceEntry, const PinTable& t)
{
    QStringList dir, dat, name, desc, modes;
    for (const PinEntry& e : t.entry) {
        dir << clean(e.direction);
        dat << clean(e.data);
        name << clean(e.name);
        desc << clean(e.comment);
    }
    for (int p = 0; p < PinTable::ports; ++p)
        for (int m = 0; m < 3; ++m)
            modes << (t.mode[size_t(p)] == m ? QStringLiteral("1") : QStringLiteral("0"));
    QString text = clean(deviceEntry) + kCrLf;
    for (const QStringList* l : {&dir, &dat, &name, &desc, &modes})
        text += l->join(kSep) + kCrLf;
    return encodeOwnText(text);
}

PinFileData readPinFile(const QStringList& lines)
{
    PinFileData d;
    if (lines.size() < 6)
        d.complete = false;
    auto entries = [&](int lineNo, int count) {
        QStringList e;
        if (lineNo < lines.size())
            e = lines[lineNo].split(kSep);
        if (e.size() < count)
            d.complete = false;
        return e;
    };
    d.device = lines.isEmpty() ? QString() : lines[0].trimmed();

    const QStringList dir = entries(1, PinTable::pins);
    const QStringList dat = entries(2, PinTable::pins);
    const QStringList name = entries(3, PinTable::pins);
    const QStringList desc = entries(4, PinTable::pins);
    for (int k = 0; k < PinTable::pins; ++k) {
        PinEntry& e = d.table.entry[size_t(k)];
        // A direction or data value the toggle boxes do not know keeps its
        // default, so a damaged file cannot leave a box stuck.
        if (k < dir.size()) {
            if (dir[k] == u"I" || dir[k] == u"O")
                e.direction = dir[k];
            else
                d.complete = false;
        }
        if (k < dat.size()) {
            if (dat[k] == u"0" || dat[k] == u"1")
                e.data = dat[k];
            else
                d.complete = false;
        }
        if (k < name.size())
            e.name = leftChars(name[k], PinTable::nameLength);
        if (k < desc.size())
            e.comment = desc[k];
    }

    const QStringList modes = entries(5, 3 * PinTable::ports);
    for (int p = 0; p < PinTable::ports; ++p) {
        int mode = PinTable::Fast;
        for (int m = 0; m < 3; ++m) {
            const int k = 3 * p + m;
            if (k < modes.size() && modes[k] == u"1")
                mode = m;
        }
        d.table.mode[size_t(p)] = mode;
    }
    return d;
}
