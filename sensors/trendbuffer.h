#pragma once
// A scrolling trend: a fixed number of rows of signed 16-bit points. Points
// are added to every row at once; when the rows are full the oldest point
// is dropped and the rest move one place towards index 0.

#include <QtGlobal>

#include <vector>

class TrendBuffer {
public:
    TrendBuffer(int rows, int points);

    int rows() const { return m_rows; }
    int capacity() const { return m_points; }
    // Points stored, 0 .. capacity().
    int count() const { return m_count; }
    qint16 at(int row, int index) const { return m_data[std::size_t(row * m_points + index)]; }

    // One value per row (missing rows take 0, extra values are ignored).
    void add(const std::vector<qint16>& values);
    void clear() { m_count = 0; }

private:
    int m_rows;
    int m_points;
    int m_count = 0;
    std::vector<qint16> m_data;
};
