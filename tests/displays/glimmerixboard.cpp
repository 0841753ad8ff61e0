#include "glimmerixboard.h"

namespace {
QString verdict(bool ok)
{
    return ok ? QStringLiteral(",PASS") : QStringLiteral(",FAIL");
}
QString frame(const QString& body)
{
    return u'!' + body + u'\r';
}
QString hexBytes(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}
} // namespace

GlimmerixBoard::GlimmerixBoard(PtyPair& pty) : BoardSimulator(pty), eeprom(64, char(0xFF))
{
    setLineEnd("\r\n");
    pass.fill(true);
}

QStringList GlimmerixBoard::selfTest() const
{
    QStringList out;
    // Each line carries its fields at the positions the window reads.
    out << frame(QStringLiteral("001001,") + version.leftJustified(9, u' ', true) + verdict(pass[0]));
    for (int d = 0; d < 12; ++d)
        out << frame(QStringLiteral("001002,") + QString::number(d).rightJustified(2, u'0') + verdict(pass[std::size_t(1 + d)]));
    out << frame(QStringLiteral("001003,A2 Pullup: ") + a2reading + verdict(pass[13]));
    const char* dig[8] = {"000", "001", "010", "011", "100", "101", "110", "111"};
    for (int i = 0; i < 8; ++i)
        out << frame(QStringLiteral("001004,D:") + QLatin1String(dig[i]) + verdict(pass[std::size_t(14 + i)]));
    const char* ana[7] = {"000", "00v", "0v0", "0vv", "010", "01v", "011"};
    for (int i = 0; i < 7; ++i)
        out << frame(QStringLiteral("001005,A:") + QLatin1String(ana[i]) + verdict(pass[std::size_t(22 + i)]));
    const char* mstr[4] = {"100", "101", "110", "111"};
    for (int i = 0; i < 4; ++i)
        out << frame(QStringLiteral("001006,M:") + QLatin1String(mstr[i]) + verdict(pass[std::size_t(29 + i)]));
    const bool low = lowPass && pass[33];
    const bool high = highPass && pass[33];
    out << frame(QStringLiteral("001007,RLo: counts = ") + lowReading + verdict(low));
    out << frame(QStringLiteral("001007,RHi: counts = ") + highReading + verdict(high));
    bool all = low && high;
    for (bool p : pass)
        all = all && p;
    out << frame(all ? QStringLiteral("001000,PASS") : QStringLiteral("0010ff,FAIL"));
    return out;
}

QStringList GlimmerixBoard::dump() const
{
    QStringList out{frame(QStringLiteral("0011 [EEPROM 00-3F]"))};
    for (int a = 0; a < 4; ++a) {
        const QByteArray row = eeprom.mid(a * 16, 16);
        out << frame(QStringLiteral("0011") + QString::number(a * 16, 16).toUpper().rightJustified(2, u'0')
                     + QStringLiteral(": ") + hexBytes(row.left(8)) + QStringLiteral(" -") + hexBytes(row.mid(8))
                     + QStringLiteral("  "));
    }
    return out;
}

QStringList GlimmerixBoard::answer(const QString& line)
{
    const QString code = line.mid(1, 4);
    if (code == QLatin1String("0010"))
        return selfTest();
    if (code == QLatin1String("0011"))
        return dump();
    if (code == QLatin1String("0012") && line.mid(5, 2) == QLatin1String("0B")) {
        const QByteArray block = QByteArray::fromHex(line.mid(7).toLatin1()).left(eeprom.size());
        eeprom.replace(0, block.size(), block);
        return {frame(QStringLiteral("0012") + answerLetter)};
    }
    return {};
}
