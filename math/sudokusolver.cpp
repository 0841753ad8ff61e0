#include "sudokusolver.h"

#include "common/numtext.h"

#include <QStringList>

#include <cmath>

namespace sudoku {

int rowOf(int cell)
{
    const int block = cell / 9, p = cell % 9;
    return 3 * (block / 3) + p / 3;
}

int columnOf(int cell)
{
    const int block = cell / 9, p = cell % 9;
    return 3 * (block % 3) + p % 3;
}

int blockOf(int cell)
{
    return cell / 9;
}

int cellAt(int row, int column)
{
    return 9 * (3 * (row / 3) + column / 3) + 3 * (row % 3) + column % 3;
}

std::array<int, 9> blockCells(int block)
{
    std::array<int, 9> cells{};
    for (int p = 0; p < 9; ++p)
        cells[p] = 9 * block + p;
    return cells;
}

std::array<int, 9> rowCells(int row)
{
    std::array<int, 9> cells{};
    for (int c = 0; c < 9; ++c)
        cells[c] = cellAt(row, c);
    return cells;
}

std::array<int, 9> columnCells(int column)
{
    std::array<int, 9> cells{};
    for (int r = 0; r < 9; ++r)
        cells[r] = cellAt(r, column);
    return cells;
}

int cellDigit(const QString& text)
{
    if (text.size() != 1)
        return 0;
    const char16_t c = text.at(0).unicode();
    return (c >= u'1' && c <= u'9') ? int(c - u'0') : 0;
}

QString puzzleText(int n)
{
    switch (n) {
    case 1:
        return QStringLiteral("010030000 000004069 569007000 058000402 000801000 706000180 000900875 950700000 000030020");
    case 2:
        return QStringLiteral("090080007 300000200 280050600 009340008 800000007 100067400 003070052 001000006 500020070");
    default:
        return QStringLiteral("023000950 000502000 740000038 004000002 701000403 900000500 410000078 000806000 093000150");
    }
}

QStringList puzzleCells(const QString& text)
{
    if (text.size() != 89)
        return {};
    QString digits = text;
    digits.remove(u' ');
    QStringList cells;
    for (int k = 0; k < cellCount; ++k) {
        const int d = k < digits.size() ? cellDigit(digits.mid(k, 1)) : 0;
        cells << (d ? QString::number(d) : QString());
    }
    return cells;
}

int slowMotionWait(const QString& text)
{
    const double r = std::nearbyint(numval(text)); // the default mode rounds halves to even
    if (!(r >= 0))
        return 0;
    return r > 32767 ? 32767 : int(r);
}

bool completeAndConsistent(const Board& board)
{
    for (int unit = 0; unit < 9; ++unit) {
        for (const auto& cells : {blockCells(unit), rowCells(unit), columnCells(unit)}) {
            int seen = 0;
            for (int c : cells) {
                const int d = cellDigit(board.cellText(c));
                if (d == 0 || (seen & (1 << d)))
                    return false;
                seen |= 1 << d;
            }
        }
    }
    return true;
}

namespace {

int candidateOf(int cell, int digit)
{
    return 9 * cell + digit - 1;
}

class Run {
public:
    explicit Run(Board& b) : board(b) {}

    Outcome go()
    {
        for (int c = 0; c < cellCount; ++c)
            if (!board.cellText(c).isEmpty() && digit(c) == 0)
                board.setCell(c, QString(), board.cellState(c));

        board.setStatus(QStringLiteral("Initial data"));
        for (int c = 0; c < cellCount; ++c) {
            if (board.cellState(c) == CellState::Free && digit(c) != 0) {
                board.setCell(c, board.cellText(c), CellState::Input);
                if (!board.afterMark())
                    return Outcome::Stopped;
            }
        }
        if (!board.pausePoint())
            return Outcome::Stopped;

        board.setStatus(QStringLiteral("Initial excludes"));
        for (int c = 0; c < cellCount; ++c) {
            if (digit(c) == 0)
                continue;
            for (int d = 1; d <= 9; ++d)
                if (!exclude(candidateOf(c, d), DataExcl))
                    return Outcome::Stopped;
        }
        if (!board.pausePoint())
            return Outcome::Stopped;

        for (int pass = 1;; ++pass) {
            int open = 0;
            if (!excludeStep(QStringLiteral("Block excludes"), &blockCells, BlockExcl)
                || !excludeStep(QStringLiteral("Row excludes"), &rowCells, RowExcl)
                || !excludeStep(QStringLiteral("Column excludes"), &columnCells, ColumnExcl)
                || !singlesStep(QStringLiteral("Single R/C Solutions"), &rowCells)
                || !singlesStep(QStringLiteral("Single Col Solutions"), &columnCells)
                || !subSquareStep(open))
                return Outcome::Stopped;
            if (pass == 100) {
                board.setStatus(QStringLiteral("No solution!"));
                return Outcome::NoSolution;
            }
            if (open == 0) {
                // No candidate is left to try: either every cell holds a
                // digit that fits, or the board contradicts itself.
                if (completeAndConsistent(board)) {
                    board.setStatus(QStringLiteral("Puzzle Solved!"));
                    return Outcome::Solved;
                }
                board.setStatus(QStringLiteral("No solution!"));
                return Outcome::NoSolution;
            }
        }
    }

private:
    int digit(int cell) const { return cellDigit(board.cellText(cell)); }

    // Colours an open candidate; false when the solve must end.
    bool exclude(int candidate, int mark)
    {
        if (board.mark(candidate) != Open)
            return true;
        board.setMark(candidate, mark);
        return board.afterMark();
    }

    bool excludeStep(const QString& status, std::array<int, 9> (*unit)(int), int mark)
    {
        board.setStatus(status);
        for (int u = 0; u < 9; ++u) {
            const std::array<int, 9> cells = unit(u);
            for (int c : cells) {
                const int v = digit(c);
                if (v == 0)
                    continue;
                for (int other : cells)
                    if (!exclude(candidateOf(other, v), mark))
                        return false;
            }
        }
        return board.pausePoint();
    }

    // A digit that only one empty cell of a row (column) can still take is
    // that cell's value. It is at once excluded from the cell's row, column
    // and block, so no later check in this pass places it twice.
    bool singlesStep(const QString& status, std::array<int, 9> (*unit)(int))
    {
        board.setStatus(status);
        for (int u = 0; u < 9; ++u) {
            const std::array<int, 9> cells = unit(u);
            for (int d = 1; d <= 9; ++d) {
                int only = -1, count = 0;
                bool present = false;
                for (int c : cells) {
                    if (digit(c) == d)
                        present = true;
                    else if (digit(c) == 0 && board.mark(candidateOf(c, d)) == Open) {
                        only = c;
                        ++count;
                    }
                }
                if (present || count != 1)
                    continue;
                board.setCell(only, QString::number(d), CellState::Solved);
                if (!board.afterMark())
                    return false;
                for (int other = 1; other <= 9; ++other)
                    if (other != d && !exclude(candidateOf(only, other), SingleExcl))
                        return false;
                for (const auto& peers : {rowCells(rowOf(only)), columnCells(columnOf(only)), blockCells(blockOf(only))})
                    for (int p : peers)
                        if (p != only && !exclude(candidateOf(p, d), SingleExcl))
                            return false;
            }
        }
        return board.pausePoint();
    }

    bool subSquareStep(int& open)
    {
        board.setStatus(QStringLiteral("SubSquare Solutions"));
        open = 0;
        for (int c = 0; c < cellCount; ++c) {
            int count = 0, last = 0;
            for (int d = 1; d <= 9; ++d) {
                if (board.mark(candidateOf(c, d)) == Open) {
                    ++count;
                    last = d;
                }
            }
            open += count;
            // A cell already solved to that digit keeps its one candidate
            // open until the next exclusion step: nothing to place again.
            if (count != 1 || (digit(c) == last && board.cellState(c) != CellState::Free))
                continue;
            board.setCell(c, QString::number(last), CellState::Solved);
            if (!board.afterMark())
                return false;
        }
        return board.pausePoint();
    }

    Board& board;
};

} // namespace

Outcome solve(Board& board)
{
    return Run(board).go();
}

} // namespace sudoku
