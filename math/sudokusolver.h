#pragma once
// The Sudoku solver's rules, apart from the widgets that show them. Cells
// are numbered block-major: cell i lies in block i / 9 at position i % 9
// inside it. Candidate box 9 * i + (d - 1) is digit d of cell i.

#include <QString>

#include <array>

namespace sudoku {

constexpr int cellCount = 81;
constexpr int candidateCount = 729;

// Candidate marks: white (open) or the legend entry that excluded it.
enum Mark { Open = -1, DataExcl = 0, BlockExcl = 1, RowExcl = 2, ColumnExcl = 3, SingleExcl = 6 };
// Legend entries used as cell backgrounds.
constexpr int inputColour = 4;
constexpr int solutionColour = 5;

enum class CellState { Free, Input, Solved };
enum class Outcome { Solved, NoSolution, Stopped };

int rowOf(int cell);
int columnOf(int cell);
int blockOf(int cell);
// The cell at a row and column (0-8 each).
int cellAt(int row, int column);
// The nine cells of a block, row or column, in reading order.
std::array<int, 9> blockCells(int block);
std::array<int, 9> rowCells(int row);
std::array<int, 9> columnCells(int column);

// The digit a cell's text stands for: 1-9 for the texts "1" to "9", else 0
// (empty, "0", letters, punctuation all count as an empty cell).
int cellDigit(const QString& text);

// The built-in puzzles: 1, 2 and 3; any other number gives puzzle 3.
QString puzzleText(int n);
// The 81 cell texts of an 89-character puzzle text ("" for "0"); an empty
// list for a text of any other length.
QStringList puzzleCells(const QString& text);

// The slow-motion wait in hundredths of a second: the leading number of the
// text rounded half to even, 0 without one, held to 0-32767.
int slowMotionWait(const QString& text);

// The board the solver works on. The window implements it over its boxes;
// the solver reads the cells afresh at every step, so a digit typed into a
// free cell while the solve waits joins in.
class Board {
public:
    virtual ~Board() = default;
    virtual QString cellText(int cell) const = 0;
    virtual CellState cellState(int cell) const = 0;
    // Sets a cell's text and state (Input and Solved lock it).
    virtual void setCell(int cell, const QString& text, CellState state) = 0;
    virtual int mark(int candidate) const = 0;
    virtual void setMark(int candidate, int mark) = 0;
    virtual void setStatus(const QString& text) = 0;
    // After each mark (a cell taken as input, a candidate coloured, a cell
    // solved). False ends the solve.
    virtual bool afterMark() = 0;
    // After each step. False ends the solve (cancelled, or the window went).
    virtual bool pausePoint() = 0;
};

// True when every cell holds 1-9 and no row, column or block repeats one.
bool completeAndConsistent(const Board& board);

// Runs the whole solve: clean-up, initial marks, then passes of block, row
// and column excludes, row and column single solutions, and sub-square
// solutions. Sets the final status ("Puzzle Solved!" or "No solution!");
// the caller beeps. Stopped leaves the board as the last step left it.
Outcome solve(Board& board);

} // namespace sudoku
