#include "lis33board.h"

namespace {
QString hex(int value, int width)
{
    return QString::number(value, 16).toUpper().rightJustified(width, u'0');
}
QString words(const int* v)
{
    return hex(v[0], 4) + hex(v[1], 4) + hex(v[2], 4);
}
} // namespace

Lis33Board::Lis33Board(PtyPair& pty) : BoardSimulator(pty)
{
    setLineEnd("\r\n");
    registers = {{0x0F, 0x32}, {0x20, 0x07}, {0x28, 0x7FFF}, {0x2A, 0x8000}, {0x2C, 0xFFFF}};
}

QStringList Lis33Board::answer(const QString& line)
{
    const QString code = line.mid(1, 4).toLower();
    const int address = line.mid(5, 2).toInt(nullptr, 16);
    if (code == QLatin1String("0010")) {
        const QString value = address == 0x0F ? QStringLiteral("00") + hex(registers.value(address), 2)
                                              : hex(registers.value(address), 4);
        return {QStringLiteral("!0010") + hex(address, 2) + value + u'\r'};
    }
    if (code == QLatin1String("0011"))
        registers[address] = line.mid(7, 2).toInt(nullptr, 16);
    if (code == QLatin1String("0000"))
        return {QStringLiteral("!0000") + firmware + u'\r'};
    if (code == QLatin1String("0060"))
        return {QStringLiteral("!0060") + words(positions) + u'\r'};
    if (code == QLatin1String("0061"))
        return {QStringLiteral("!0061") + words(offsets) + u'\r'};
    if (code == QLatin1String("0062"))
        return {QStringLiteral("!0062") + words(scaled) + u'\r'};
    return {u'!' + line.mid(1, 4) + u'\r'};
}
