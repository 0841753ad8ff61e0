#pragma once
// The Sudoku puzzle solver window: a 9 x 9 board whose every candidate
// digit is a box of its own, coloured by the rule that excluded it, solved
// step by step with slow motion, pause and cancel.
//
// Controls (block-major numbering): cellvalue_i (81 text boxes),
// exclusion_k (729 CandidateBox, k = 9 * cell + digit - 1), ccode_i and
// Label1_i (legend), cmmd_0..2 (Clear, Solve, Reset), loadlist, slowmo,
// slowmo_factor, pause, continue, cancelbutton, status.

#include "common/toolwindow.h"

class Math_sudoku : public ToolWindow {
    Q_OBJECT
public:
    Math_sudoku();

    void loadpuzzle(int n);
    void fillgrid(const QString& text);
    void puzzleclear();
    void puzzlereset();
    // True while a solve runs (it yields at pause points and waits).
    bool solving() const { return m_solving; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    class WidgetBoard;
    void solve();
    void setSolving(bool on);
    bool m_solving = false;
};
