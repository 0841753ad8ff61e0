#include "lis33accel.h"

#include "common/fields.h"
#include "common/formbuilder.h"

namespace lis33accel {

namespace {
QString line(const char* text)
{
    return QString::fromLatin1(text) + QStringLiteral("\r\n");
}

bool allHex(const QString& text)
{
    for (QChar c : text)
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f')))
            return false;
    return true;
}

QStringList triple(const char* name)
{
    const QString n = QString::fromLatin1(name);
    return {arrayName(n, 0), arrayName(n, 1), arrayName(n, 2)};
}
} // namespace

std::optional<QStringList> commands(int index, const QString& eeaddress)
{
    switch (index) {
    case 0: return QStringList{line("$00100f00")};
    case 1: return QStringList{line("$00112027")};
    case 2: return QStringList{line("$00102801")};
    case 3: return QStringList{line("$00102A01")};
    case 4: return QStringList{line("$00102C01")};
    case 5: return QStringList{line("$00102801"), line("$00102A01"), line("$00102C01")};
    case 6: return QStringList{line("$0000")};
    case 7: return QStringList{line("$004100")};
    case 8: return QStringList{line("$004101")};
    case 9: return QStringList{line("$004000")};
    case 10: return QStringList{line("$004001")};
    case 13: return QStringList{line("$0007")};
    case 15: {
        // The address goes out as the box shows it after leaving: two hex
        // digits, never the raw text.
        const QString address = hexLeave(eeaddress);
        if (!allHex(address))
            return std::nullopt;
        return QStringList{QStringLiteral("$0020") + address + QStringLiteral("\r\n")};
    }
    case 17: return QStringList{line("$0060")};
    case 18: return QStringList{line("$0061")};
    case 19: return QStringList{line("$0030")};
    case 20: return QStringList{line("$0031")};
    case 21: return QStringList{line("$0062")};
    default: return QStringList{};
    }
}

QStringList clears(int index)
{
    switch (index) {
    case 0: return {QStringLiteral("pingresult")};
    case 2: return {QStringLiteral("xaxis")};
    case 3: return {QStringLiteral("yaxis")};
    case 4: return {QStringLiteral("zaxis")};
    case 5: return {QStringLiteral("xaxis"), QStringLiteral("yaxis"), QStringLiteral("zaxis")};
    case 6: return {QStringLiteral("comtest")};
    case 17: return triple("positions");
    case 18: return triple("offsets");
    case 21: return triple("scaled_positions");
    default: return {};
    }
}

QString pollCommand(int phase)
{
    return line(phase == 0 ? "$0060" : phase == 1 ? "$0062" : "$0061");
}

QString hexEnter(const QString& text)
{
    return text.toUpper().right(2);
}

QString hexLeave(const QString& text)
{
    return (QStringLiteral("00") + text.toUpper()).right(2);
}

QString commandLogLine(const QString& text)
{
    return text.section(u'\r', 0, 0) + QStringLiteral("[cr]");
}

int rawAxis(int value)
{
    // The registers hold two's complement: 8000 is -32768, FFFF is -1.
    return value >= 32768 ? value - 65536 : value;
}

Reply decodeReply(const QString& frame)
{
    Reply r;
    const QString code = frame.left(4).toLower();
    auto word = [&](int k) { return int(hextolong(frame.mid(4 + 4 * k, 4)) & 0xFFFF); };
    if (code == QLatin1String("0000")) {
        r.texts << qMakePair(QStringLiteral("comtest"),
                             frame.mid(4, 4) + u'.' + frame.mid(8, 2) + u'.' + frame.mid(10, 2));
    } else if (code == QLatin1String("0010")) {
        const QString address = frame.mid(4, 2).toUpper();
        if (address == QLatin1String("0F")) {
            const QString id = frame.mid(8, 2);
            r.texts << qMakePair(QStringLiteral("pingresult"), id);
            r.colorBox = QStringLiteral("pingresult");
            r.color = id == QLatin1String("32") ? colors::green : colors::red;
        } else if (address == QLatin1String("28") || address == QLatin1String("2A") ||
                   address == QLatin1String("2C")) {
            const QString box = address == QLatin1String("28")   ? QStringLiteral("xaxis")
                                : address == QLatin1String("2A") ? QStringLiteral("yaxis")
                                                                  : QStringLiteral("zaxis");
            r.texts << qMakePair(box, QString::number(rawAxis(int(hextolong(frame.mid(6, 4)) & 0xFFFF))));
        }
    } else if (code == QLatin1String("0060") || code == QLatin1String("0061") || code == QLatin1String("0062")) {
        const QStringList boxes = triple(code == QLatin1String("0060")   ? "positions"
                                         : code == QLatin1String("0061") ? "offsets"
                                                                         : "scaled_positions");
        const int bias = code == QLatin1String("0061") ? 0 : 32768;
        for (int k = 0; k < 3; ++k)
            r.texts << qMakePair(boxes[k], QString::number(word(k) - bias));
    }
    return r;
}

} // namespace lis33accel
