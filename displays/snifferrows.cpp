#include "snifferrows.h"

#include <algorithm>

namespace {
QChar hexDigit(int v)
{
    return QChar(u"0123456789ABCDEF"[v & 15]);
}
} // namespace

bool snifferChannels(const QString& record, int& a, int& b)
{
    if (record.size() != 3)
        return false;
    const int b0 = record.at(0).unicode();
    if ((b0 & 0xF0) != 0x80)
        return false;
    // The data bytes carry seven bits; a stray high bit (a byte lost on the
    // line) must not turn a column into a value outside 0 to 256.
    const int lowA = record.at(1).unicode() & 0x7F;
    const int lowB = record.at(2).unicode() & 0x7F;
    // A set "no byte" flag means an empty column whatever the other bits
    // say, so every record adds one column to both rows.
    a = (b0 & 0x08) ? 256 : (b0 & 0x04) * 32 + lowA;
    b = (b0 & 0x02) ? 256 : (b0 & 0x01) * 128 + lowB;
    return true;
}

std::array<QChar, 3> snifferColumn(int value)
{
    const QChar placeholder(snifferPlaceholder);
    if (value < 0 || value > 255)
        return {QChar(u' '), placeholder, placeholder};
    const QChar text = value >= 32 && value <= 126 ? QChar(value) : placeholder;
    return {text, hexDigit(value >> 4), hexDigit(value)};
}

void SnifferRows::setDepth(int depth)
{
    m_depth = std::clamp(depth, 1, maxDepth);
}

void SnifferRows::append(int a, int b)
{
    const auto ca = snifferColumn(a);
    const auto cb = snifferColumn(b);
    m_ring[size_t(m_next)] = {ca[0], cb[0], ca[1], ca[2], cb[1], cb[2]};
    m_next = (m_next + 1) % maxDepth;
    m_count = std::min(m_count + 1, m_depth);
}

void SnifferRows::clear()
{
    m_count = 0;
}

const SnifferRows::Column& SnifferRows::at(int i) const
{
    return m_ring[size_t((m_next - m_count + i + maxDepth) % maxDepth)];
}

QString SnifferRows::page(Row row, int position) const
{
    QString text;
    const int from = std::max(position, 1) - 1;
    const int to = std::min(from + pageWidth, m_count);
    if (from >= to)
        return text;
    text.reserve(to - from);
    for (int i = from; i < to; ++i)
        text += at(i)[size_t(row)];
    return text;
}

QString SnifferRows::row(Row row) const
{
    QString text;
    text.reserve(m_count);
    for (int i = 0; i < m_count; ++i)
        text += at(i)[size_t(row)];
    return text;
}
