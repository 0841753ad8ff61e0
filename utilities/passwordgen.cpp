#include "passwordgen.h"

#include "common/logfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cmath>

bool passwordLengthOk(double length)
{
    return length >= 1 && length <= 32;
}

double systemPasswordDraw()
{
    // The top 53 bits fill a double's mantissa exactly, so 1 is never reached.
    return double(QRandomGenerator::system()->generate64() >> 11) * 0x1.0p-53;
}

QChar passwordDraw(double r)
{
    return QChar(ushort(std::floor(75 * r + 48)));
}

bool passwordCharTaken(QChar c, bool digits, bool symbols)
{
    const ushort u = c.unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z'))
        return u != 'I' && u != 'L' && u != 'O' && u != 'i' && u != 'l';
    if (u >= '0' && u <= '9')
        return digits;
    if (u == '$' || u == '&' || u == '#' || u == '@')
        return symbols;
    return false;
}

QString drawPassword(double length, bool digits, bool symbols, const std::function<double()>& next)
{
    QString out;
    if (!passwordLengthOk(length))
        return out;
    while (out.size() < length) {
        const QChar c = passwordDraw(next());
        if (passwordCharTaken(c, digits, symbols))
            out += c;
    }
    return out;
}

int passwordTabs(int descriptionLength)
{
    const int n = int(std::floor((40 - descriptionLength) / 8.0)) + 1;
    return n > 0 ? n : 0;
}

QString passwordLine(const QString& description, const QString& password)
{
    QString d = description.isEmpty() ? QStringLiteral("No description") : description;
    // One password, one line: the list is read by eye and by line.
    for (QChar& c : d)
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
    return d + QString(passwordTabs(int(d.size())), u'\t') + password;
}

bool appendPasswordLine(const QString& path, const QString& line)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        // The list holds passwords: nobody else may read it.
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            return false;
        f.close();
    }
    return appendLog(path, QString(), line);
}
