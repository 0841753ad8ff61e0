#include "math_sudoku.h"
#include "candidatebox.h"
#include "sudokusolver.h"

#include "common/alert.h"
#include "common/charlimit.h"
#include "common/formbuilder.h"
#include "common/pacing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>

using sudoku::CellState;

namespace {
// Board geometry in twips: a cell is its value box with its 3 x 3
// candidate boxes beside it; blocks stand a little apart.
constexpr int cellPitchX = 64 * 15, cellPitchY = 43 * 15, blockGap = 8 * 15, margin = 8 * 15;
constexpr int valueWidth = 20 * 15, valueHeight = 39 * 15, candidateSize = 13 * 15;
constexpr int panelLeft = 620 * 15;

int cellLeft(int column)
{
    return margin + column * cellPitchX + (column / 3) * blockGap;
}
int cellTop(int row)
{
    return margin + row * cellPitchY + (row / 3) * blockGap;
}

struct LegendEntry {
    QColor colour;
    const char* caption;
};
const std::array<LegendEntry, 7> legend = {{{QColor(255, 0, 255), "Data Excludes"},
                                            {QColor(0, 0, 255), "Block Excludes"},
                                            {QColor(125, 0, 255), "Row Excludes"},
                                            {QColor(60, 0, 160), "Column Excludes"},
                                            {QColor(0, 255, 0), "Input Data"},
                                            {QColor(0, 150, 0), "Solution Data"},
                                            {QColor(50, 0, 100), "Single R/C Excl"}}};
} // namespace

struct Math_sudoku::Ui : Controls {
    std::array<QLineEdit*, sudoku::cellCount> cellvalue{};
    std::array<CandidateBox*, sudoku::candidateCount> exclusion{};
    std::array<QLineEdit*, 7> ccode{};
    std::array<QLabel*, 7> Label1{};
    std::array<QPushButton*, 3> cmmd{};
    QComboBox* loadlist = nullptr;
    QCheckBox* slowmo = nullptr;
    QLineEdit* slowmo_factor = nullptr;
    QCheckBox* pause = nullptr;
    QCheckBox* continueBox = nullptr;
    QCheckBox* cancelbutton = nullptr;
    QLabel* status = nullptr;
    // The cell states the backgrounds show: free (white), input, solved.
    std::array<CellState, sudoku::cellCount> state{};

    QColor legendColour(int i) const { return ccode[i]->palette().color(QPalette::Base); }
    void setCellState(int cell, CellState s)
    {
        state[cell] = s;
        QLineEdit* box = cellvalue[cell];
        box->setReadOnly(s != CellState::Free);
        setBackColor(box, s == CellState::Input    ? legendColour(sudoku::inputColour)
                          : s == CellState::Solved ? legendColour(sudoku::solutionColour)
                                                   : colors::white);
    }
};

// The solver's view of the board: the boxes themselves, so that what the
// user types into a free cell during a pause joins the solve.
class Math_sudoku::WidgetBoard : public sudoku::Board {
public:
    WidgetBoard(Math_sudoku& w, Ui* ui) : m_window(w), m_ui(ui)
    {
        m_marks.fill(sudoku::Open);
        for (int k = 0; k < sudoku::candidateCount; ++k) {
            const QColor c = ui->exclusion[k]->backColor();
            for (int i = 0; i < 7 && c != colors::white; ++i)
                if (c == ui->legendColour(i))
                    m_marks[k] = i;
        }
    }

    QString cellText(int cell) const override { return m_ui->cellvalue[cell]->text(); }
    CellState cellState(int cell) const override { return m_ui->state[cell]; }
    void setCell(int cell, const QString& text, CellState state) override
    {
        m_ui->cellvalue[cell]->setText(text);
        if (state != m_ui->state[cell])
            m_ui->setCellState(cell, state);
    }
    int mark(int candidate) const override { return m_marks[candidate]; }
    void setMark(int candidate, int mark) override
    {
        m_marks[candidate] = mark;
        m_ui->exclusion[candidate]->setBackColor(mark < 0 ? colors::white : m_ui->legendColour(mark));
    }
    void setStatus(const QString& text) override { m_ui->status->setText(text); }

    bool afterMark() override
    {
        if (m_ui->slowmo->isChecked())
            delay(sudoku::slowMotionWait(m_ui->slowmo_factor->text()));
        return !stopped();
    }

    bool pausePoint() override
    {
        for (;;) {
            delay(-1); // the message loop runs once at every pause point
            if (stopped())
                return false;
            if (m_ui->cancelbutton->isChecked()) {
                m_ui->cancelbutton->setChecked(false);
                return false;
            }
            if (!m_ui->pause->isChecked() || m_ui->continueBox->isChecked())
                break;
            waitfor([this] {
                return m_ui->cancelbutton->isChecked() || !m_ui->pause->isChecked() || m_ui->continueBox->isChecked();
            }, 60000);
        }
        m_ui->continueBox->setChecked(false);
        return true;
    }

private:
    // The window was closed or the program quits: the form is on its way
    // out and nothing more may be done to it.
    bool stopped() const { return waitAborted() || m_window.aborted(); }

    Math_sudoku& m_window;
    Ui* m_ui;
    std::array<int, sudoku::candidateCount> m_marks{};
};

Math_sudoku::Math_sudoku() : ToolWindow("Math_sudoku", QSize(12450, 6450)) {}

void Math_sudoku::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Sudoku Puzzle Solver"));
    auto* ui = makeControls<Ui>();

    for (int b = 0; b < 9; ++b) {
        const int r0 = 3 * (b / 3), c0 = 3 * (b % 3);
        auto* frame = place<QFrame>(form, QString(), cellLeft(c0) - 45, cellTop(r0) - 45, 3 * cellPitchX - 60 + 90,
                                    3 * cellPitchY - 60 + 90);
        frame->setFrameShape(QFrame::Box);
        frame->setLineWidth(2);
    }

    const QFont valueFont = uiFont(16, true);
    QFont candidateFont = uiFont(6.75);
    for (int cell = 0; cell < sudoku::cellCount; ++cell) {
        const int left = cellLeft(sudoku::columnOf(cell)), top = cellTop(sudoku::rowOf(cell));
        auto* box = place<QLineEdit>(form, arrayName("cellvalue", cell), left, top, valueWidth, valueHeight);
        box->setFont(valueFont);
        box->setAlignment(Qt::AlignCenter);
        box->setTextMargins(0, 0, 0, 0);
        setBackColor(box, colors::white);
        ui->cellvalue[cell] = box;
        for (int d = 0; d < 9; ++d) {
            const int k = 9 * cell + d;
            auto* c = new CandidateBox(form, arrayName("exclusion", k), QString::number(d + 1));
            c->setGeometry(twips(left + valueWidth + 15 + (d % 3) * candidateSize), twips(top + (d / 3) * candidateSize),
                           twips(candidateSize), twips(candidateSize));
            c->setFont(candidateFont);
            ui->exclusion[k] = c;
        }
    }

    const QFont font = uiFont(8.25);
    for (int i = 0; i < 7; ++i) {
        auto* code = place<QLineEdit>(form, arrayName("ccode", i), panelLeft, margin + i * 360, 300, 300);
        code->setReadOnly(true);
        code->setFocusPolicy(Qt::NoFocus);
        ui->ccode[i] = code;
        ui->Label1[i] = placeLabel(form, QString::fromLatin1(legend[i].caption), panelLeft + 390, margin + i * 360 + 15,
                                   2100, 285, arrayName("Label1", i));
        ui->Label1[i]->setFont(font);
    }

    const char* const buttons[3] = {"Clear", "Solve", "Reset"};
    for (int i = 0; i < 3; ++i) {
        auto* b = place<QPushButton>(form, arrayName("cmmd", i), panelLeft + i * 960, 2700, 900, 375);
        b->setText(QString::fromLatin1(buttons[i]));
        b->setFont(font);
        ui->cmmd[i] = b;
        on(b, &QPushButton::clicked, [this, i] {
            if (i == 0)
                puzzleclear();
            else if (i == 1)
                solve();
            else
                puzzlereset();
        });
    }

    ui->loadlist = place<QComboBox>(form, "loadlist", panelLeft, 3225, 2820, 330);
    ui->loadlist->setFont(font);
    ui->loadlist->addItem(QStringLiteral("Select..."));
    for (int n = 1; n <= 20; ++n)
        ui->loadlist->addItem(QStringLiteral("Puzzle %1").arg(n));
    onKeyPress(ui->loadlist, [](int) { return 0; });
    on(ui->loadlist, &QComboBox::activated, [this](int index) { loadpuzzle(index); });

    auto check = [&](const char* name, const char* caption, double top, double width) {
        auto* c = place<QCheckBox>(form, QString::fromLatin1(name), panelLeft, top, width, 300);
        c->setText(QString::fromLatin1(caption));
        c->setFont(font);
        return c;
    };
    ui->slowmo = check("slowmo", "Slow Motion", 3720, 1650);
    ui->slowmo_factor = place<QLineEdit>(form, "slowmo_factor", panelLeft + 1740, 3690, 900, 330);
    ui->slowmo_factor->setFont(font);
    ui->slowmo_factor->setText(QStringLiteral("1"));
    ui->pause = check("pause", "Mode-Mode Pause", 4140, 2820);
    ui->continueBox = check("continue", "Continue", 4500, 2820);
    ui->cancelbutton = check("cancelbutton", "Cancel", 4860, 2820);

    ui->status = placeLabel(form, QString(), panelLeft, 5280, 2820, 600, "status");
    ui->status->setFont(uiFont(9.75, true));
    ui->status->setWordWrap(true);
}

void Math_sudoku::onLoad()
{
    auto* ui = controls<Ui>();
    for (int i = 0; i < 7; ++i)
        setBackColor(ui->ccode[i], legend[i].colour);
    for (QLineEdit* box : ui->cellvalue)
        box->setValidator(new CharLimit(1, box));
    ui->loadlist->setCurrentIndex(0);
    loadpuzzle(0);
}

void Math_sudoku::loadpuzzle(int n)
{
    puzzleclear();
    fillgrid(sudoku::puzzleText(n));
}

void Math_sudoku::fillgrid(const QString& text)
{
    auto* ui = controls<Ui>();
    const QStringList cells = sudoku::puzzleCells(text);
    if (!ui || cells.isEmpty())
        return;
    for (int c = 0; c < sudoku::cellCount; ++c)
        ui->cellvalue[c]->setText(cells[c]);
}

void Math_sudoku::puzzleclear()
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    for (CandidateBox* c : ui->exclusion)
        c->setBackColor(colors::white);
    for (int c = 0; c < sudoku::cellCount; ++c) {
        ui->setCellState(c, CellState::Free);
        ui->cellvalue[c]->clear();
    }
}

void Math_sudoku::puzzlereset()
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    for (int c = 0; c < sudoku::cellCount; ++c) {
        if (ui->state[c] != CellState::Input)
            ui->cellvalue[c]->clear();
        ui->setCellState(c, CellState::Free);
    }
    for (CandidateBox* c : ui->exclusion)
        c->setBackColor(colors::white);
    ui->status->clear();
}

void Math_sudoku::setSolving(bool on)
{
    auto* ui = controls<Ui>();
    m_solving = on;
    for (QPushButton* b : ui->cmmd)
        b->setEnabled(!on);
    ui->loadlist->setEnabled(!on);
}

void Math_sudoku::solve()
{
    auto* ui = controls<Ui>();
    if (!ui || m_solving)
        return;
    setSolving(true);
    WidgetBoard board(*this, ui);
    const sudoku::Outcome outcome = sudoku::solve(board);
    if (aborted() || quitting()) {
        m_solving = false;
        return; // the form goes as soon as this handler returns
    }
    setSolving(false);
    if (outcome != sudoku::Outcome::Stopped)
        beep();
}
