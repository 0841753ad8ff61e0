#include "trendbuffer.h"

#include <algorithm>

TrendBuffer::TrendBuffer(int rows, int points)
    : m_rows(std::max(rows, 1)), m_points(std::max(points, 1)), m_data(std::size_t(m_rows * m_points), 0)
{
}

void TrendBuffer::add(const std::vector<qint16>& values)
{
    int index = m_count;
    if (m_count == m_points) {
        for (int r = 0; r < m_rows; ++r) {
            auto row = m_data.begin() + r * m_points;
            std::move(row + 1, row + m_points, row);
        }
        index = m_points - 1;
    } else {
        ++m_count;
    }
    for (int r = 0; r < m_rows; ++r)
        m_data[std::size_t(r * m_points + index)] = std::size_t(r) < values.size() ? values[std::size_t(r)] : 0;
}
