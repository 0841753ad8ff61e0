#pragma once
// Boards for the Sudoku tests: an in-memory board for the solver itself,
// and hand-made positions that show one rule each.

#include "math/sudokusolver.h"

#include <QStringList>

#include <array>

class MemoryBoard : public sudoku::Board {
public:
    MemoryBoard() { marks.fill(sudoku::Open); states.fill(sudoku::CellState::Free); }
    explicit MemoryBoard(const QStringList& cells) : MemoryBoard()
    {
        for (int c = 0; c < sudoku::cellCount && c < cells.size(); ++c)
            texts[c] = cells[c];
    }

    QString cellText(int cell) const override { return texts[cell]; }
    sudoku::CellState cellState(int cell) const override { return states[cell]; }
    void setCell(int cell, const QString& text, sudoku::CellState state) override
    {
        texts[cell] = text;
        states[cell] = state;
    }
    int mark(int candidate) const override { return marks[candidate]; }
    void setMark(int candidate, int m) override
    {
        marks[candidate] = m;
        ++markCount;
    }
    void setStatus(const QString& text) override { status = text; }
    bool afterMark() override { return true; }
    bool pausePoint() override
    {
        ++pauses;
        return stopAtPause < 0 || pauses < stopAtPause;
    }

    std::array<QString, sudoku::cellCount> texts;
    std::array<sudoku::CellState, sudoku::cellCount> states;
    std::array<int, sudoku::candidateCount> marks;
    QString status;
    int pauses = 0;
    int markCount = 0;
    int stopAtPause = -1;
};

// 81 cell texts with the given digits placed at (row, column, digit).
inline QStringList cellsWith(std::initializer_list<std::array<int, 3>> givens)
{
    QStringList cells;
    for (int c = 0; c < sudoku::cellCount; ++c)
        cells << QString();
    for (const auto& g : givens)
        cells[sudoku::cellAt(g[0], g[1])] = QString::number(g[2]);
    return cells;
}

// A 1 in every column but the first and in every row but the first, one
// per block outside block 0: the top-left cell is the only place of a 1 in
// row 0, and block, row and column excludes each show in block 0's corner.
inline QStringList lonelyOneBoard()
{
    return cellsWith({{3, 1, 1}, {6, 2, 1}, {1, 3, 1}, {4, 4, 1}, {7, 5, 1}, {2, 6, 1}, {5, 7, 1}, {8, 8, 1}});
}
