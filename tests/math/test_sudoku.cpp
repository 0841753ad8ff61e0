#include "sudokuboards.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/charlimit.h"
#include "common/formbuilder.h"
#include "math/candidatebox.h"
#include "math/math_sudoku.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace sudoku;

namespace {
const QColor white(255, 255, 255), given(0, 255, 0), solved(0, 150, 0);
const QStringList stepNames = {"Initial data",         "Initial excludes",     "Block excludes",     "Row excludes",
                               "Column excludes",      "Single R/C Solutions", "Single Col Solutions",
                               "SubSquare Solutions"};
} // namespace

class TestSudoku : public QObject {
    Q_OBJECT
    Math_sudoku& w() { return FormSlots::get<Math_sudoku>(); }
    template <class T>
    T* child(const QString& name)
    {
        auto* c = w().form()->findChild<T*>(name);
        if (!c)
            qWarning("no control %s", qPrintable(name));
        return c;
    }
    QLineEdit* cell(int i) { return m_cells[i]; }
    CandidateBox* candidate(int k) { return m_candidates[k]; }
    QCheckBox* check(const char* name) { return child<QCheckBox>(name); }
    QPushButton* button(int i) { return child<QPushButton>(arrayName("cmmd", i)); }
    QString status() { return child<QLabel>("status")->text(); }
    static QColor back(QWidget* box) { return box->palette().color(QPalette::Base); }

    void open()
    {
        popup("Math_sudoku");
        QVERIFY(w().visible());
        for (int i = 0; i < cellCount; ++i)
            m_cells[i] = child<QLineEdit>(arrayName("cellvalue", i));
        for (int k = 0; k < candidateCount; ++k)
            m_candidates[k] = child<CandidateBox>(arrayName("exclusion", k));
    }
    void choosePuzzle(int n)
    {
        auto* list = child<QComboBox>("loadlist");
        list->setCurrentIndex(n);
        emit list->activated(n);
    }
    void setBoard(const QStringList& cells)
    {
        button(0)->click();
        for (int i = 0; i < cellCount; ++i)
            cell(i)->setText(cells[i]);
    }
    // Clicks Solve; tick() runs every few milliseconds while the solve
    // yields, the way a user's clicks arrive.
    void solveWhile(const std::function<void()>& tick)
    {
        QTimer t;
        t.setInterval(2);
        connect(&t, &QTimer::timeout, tick);
        t.start();
        button(1)->click();
    }
    QStringList texts()
    {
        QStringList t;
        for (int i = 0; i < cellCount; ++i)
            t << cell(i)->text();
        return t;
    }
    bool boardSolved() { return completeAndConsistent(MemoryBoard(texts())); }

    std::array<QLineEdit*, cellCount> m_cells{};
    std::array<CandidateBox*, candidateCount> m_candidates{};

private Q_SLOTS:
    void init() { open(); }
    void cleanup()
    {
        w().unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void opensOnPuzzleThree()
    {
        QCOMPARE(w().caption(), QString("Sudoku Puzzle Solver"));
        QCOMPARE(texts(), puzzleCells(puzzleText(3)));
        QCOMPARE(child<QComboBox>("loadlist")->currentText(), QString("Select..."));
        QCOMPARE(child<QComboBox>("loadlist")->count(), 21);
        for (int i = 0; i < cellCount; ++i) {
            QCOMPARE(back(cell(i)), white);
            QVERIFY(!cell(i)->isReadOnly());
            QCOMPARE(charLimit(cell(i)), 1);
        }
        for (int k = 0; k < candidateCount; ++k) {
            QCOMPARE(candidate(k)->backColor(), white);
            QCOMPARE(candidate(k)->text(), QString::number(k % 9 + 1));
        }
        QCOMPARE(back(child<QLineEdit>("ccode_4")), given);
        QCOMPARE(child<QLabel>("Label1_6")->text(), QString("Single R/C Excl"));
        QCOMPARE(child<QLineEdit>("slowmo_factor")->text(), QString("1"));
    }

    void puzzlesSolve_data()
    {
        QTest::addColumn<int>("puzzle");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("3") << 3;
    }
    void puzzlesSolve()
    {
        QFETCH(int, puzzle);
        choosePuzzle(puzzle);
        const QStringList givens = puzzleCells(puzzleText(puzzle));
        QCOMPARE(texts(), givens);
        const int beeps = beepCount();
        button(1)->click();
        QCOMPARE(status(), QString("Puzzle Solved!"));
        QCOMPARE(beepCount(), beeps + 1);
        QVERIFY(boardSolved());
        for (int i = 0; i < cellCount; ++i) {
            QCOMPARE(back(cell(i)), givens[i].isEmpty() ? solved : given);
            QVERIFY(cell(i)->isReadOnly());
        }
        for (int k = 0; k < candidateCount; ++k)
            QVERIFY(candidate(k)->backColor() != white);
    }

    void cleanUpAndEmptyBoard()
    {
        button(0)->click();
        const QStringList typed = {"0", "a", ".", "7"};
        for (int i = 0; i < typed.size(); ++i)
            typeInto(cell(20 + i), typed[i]);
        cell(20 + 3)->clear(); // junk only: the clean-up leaves an empty board
        button(1)->click();
        QCOMPARE(status(), QString("No solution!"));
        for (int i = 0; i < cellCount; ++i)
            QCOMPARE(cell(i)->text(), QString());
        for (int k = 0; k < candidateCount; ++k)
            QCOMPARE(candidate(k)->backColor(), white);

        typeInto(cell(23), "7");
        cell(20)->setText("0"); // the clean-up emptied them before
        cell(21)->setText("a");
        cell(22)->setText(".");
        check("pause")->setChecked(true);
        solveWhile([&] {
            if (status() == "Initial data")
                check("cancelbutton")->setChecked(true);
        });
        for (int i = 20; i < 23; ++i) {
            QCOMPARE(cell(i)->text(), QString());
            QCOMPARE(back(cell(i)), white);
        }
        QCOMPARE(cell(23)->text(), QString("7"));
        QCOMPARE(back(cell(23)), given);
        QVERIFY(cell(23)->isReadOnly());
    }

    void pauseHoldsEachStep()
    {
        choosePuzzle(1);
        button(1)->click(); // solved: a second solve takes one pass
        check("pause")->setChecked(true);
        QStringList held;
        int ticks = 0;
        bool controlsRight = true;
        solveWhile([&] {
            if (status() == "Puzzle Solved!")
                return;
            controlsRight = controlsRight && !button(0)->isEnabled() && !button(1)->isEnabled()
                         && !button(2)->isEnabled() && !child<QComboBox>("loadlist")->isEnabled()
                         && check("continue")->isEnabled() && check("cancelbutton")->isEnabled()
                         && check("slowmo")->isEnabled() && child<QLineEdit>("slowmo_factor")->isEnabled();
            if (check("continue")->isChecked())
                return; // not yet taken by the solver
            if (held.isEmpty() || held.last() != status()) {
                held << status();
                ticks = 0;
            } else if (++ticks == 3) {
                check("continue")->setChecked(true);
            }
        });
        QCOMPARE(held, stepNames);
        QCOMPARE(status(), QString("Puzzle Solved!"));
        QVERIFY(!check("continue")->isChecked());
        QVERIFY(controlsRight);
        QVERIFY(button(1)->isEnabled());
        QVERIFY(child<QComboBox>("loadlist")->isEnabled());
    }

    void cancelLeavesTheBoard()
    {
        check("pause")->setChecked(true);
        QStringList board;
        QList<QColor> marks;
        solveWhile([&] {
            if (status() != "Row excludes") {
                check("continue")->setChecked(true);
                return;
            }
            if (!board.isEmpty())
                return;
            board = texts();
            for (int k = 0; k < candidateCount; ++k)
                marks << candidate(k)->backColor();
            check("cancelbutton")->setChecked(true);
        });
        QVERIFY(!board.isEmpty());
        QVERIFY(!check("cancelbutton")->isChecked());
        QCOMPARE(status(), QString("Row excludes"));
        QCOMPARE(texts(), board);
        for (int k = 0; k < candidateCount; ++k)
            QCOMPARE(candidate(k)->backColor(), marks[k]);
        QVERIFY(button(1)->isEnabled());
    }

    void resetAndClear()
    {
        choosePuzzle(1);
        button(1)->click();
        button(2)->click(); // Reset
        QCOMPARE(texts(), puzzleCells(puzzleText(1)));
        QCOMPARE(status(), QString());
        for (int i = 0; i < cellCount; ++i) {
            QCOMPARE(back(cell(i)), white);
            QVERIFY(!cell(i)->isReadOnly());
        }
        for (int k = 0; k < candidateCount; ++k)
            QCOMPARE(candidate(k)->backColor(), white);

        button(1)->click();
        QCOMPARE(status(), QString("Puzzle Solved!"));
        button(0)->click(); // Clear
        QCOMPARE(texts().join(QString()), QString());
        QCOMPARE(status(), QString("Puzzle Solved!"));
        for (int i = 0; i < cellCount; ++i)
            QVERIFY(!cell(i)->isReadOnly());
    }

    void marksShowTheirRule()
    {
        setBoard(lonelyOneBoard());
        button(1)->click();
        QCOMPARE(status(), QString("No solution!"));
        const auto colourOf = [&](int row, int column, int digit) {
            return candidate(9 * cellAt(row, column) + digit - 1)->backColor();
        };
        const auto legend = [&](int i) { return back(child<QLineEdit>(arrayName("ccode", i))); };
        QCOMPARE(colourOf(3, 1, 5), legend(DataExcl));
        QCOMPARE(colourOf(4, 0, 1), legend(BlockExcl));
        QCOMPARE(colourOf(1, 0, 1), legend(RowExcl));
        QCOMPARE(colourOf(0, 1, 1), legend(ColumnExcl));
        QCOMPARE(colourOf(0, 0, 2), legend(SingleExcl));
        QCOMPARE(colourOf(0, 0, 2), QColor(50, 0, 100));
        QCOMPARE(colourOf(0, 4, 2), white);
        QCOMPARE(cell(cellAt(0, 0))->text(), QString("1"));
        QCOMPARE(back(cell(cellAt(0, 0))), solved);
        QCOMPARE(back(cell(cellAt(3, 1))), given);
    }

    void contradictionHasNoSolution()
    {
        QStringList cells = puzzleCells(puzzleText(1));
        cells[cellAt(0, 0)] = "5";
        cells[cellAt(0, 8)] = "5";
        setBoard(cells);
        const int beeps = beepCount();
        button(1)->click();
        QCOMPARE(status(), QString("No solution!"));
        QCOMPARE(beepCount(), beeps + 1);
    }

    void otherCharacterTypedDuringSolve()
    {
        check("pause")->setChecked(true);
        const int free = 0; // puzzle 3's first cell is empty
        QVERIFY(cell(free)->text().isEmpty());
        solveWhile([&] {
            if (check("continue")->isChecked())
                return;
            if (status() == "Initial excludes" && cell(free)->text().isEmpty())
                cell(free)->setText("x");
            if (status() == "Column excludes")
                check("pause")->setChecked(false);
            else
                check("continue")->setChecked(true);
        });
        QCOMPARE(status(), QString("Puzzle Solved!"));
        QVERIFY(boardSolved());
    }

    void slowMotionWaitsPerMark()
    {
        // One given: 1 input, 9 own, 8 block, 6 row and 6 column marks.
        setBoard(cellsWith({{0, 0, 5}}));
        check("slowmo")->setChecked(true);
        child<QLineEdit>("slowmo_factor")->setText("3.5");
        QElapsedTimer t;
        t.start();
        button(1)->click();
        QCOMPARE(status(), QString("No solution!"));
        QVERIFY2(t.elapsed() >= 30 * 40, qPrintable(QString::number(t.elapsed())));

        child<QLineEdit>("slowmo_factor")->setText("no number");
        setBoard(cellsWith({{0, 0, 5}}));
        t.restart();
        button(1)->click();
        QVERIFY(t.elapsed() < 30 * 40);
    }

    void closingDuringAWait_data()
    {
        QTest::addColumn<bool>("slowMotion");
        QTest::newRow("paused") << false;
        QTest::newRow("slow motion") << true;
    }
    void closingDuringAWait()
    {
        QFETCH(bool, slowMotion);
        if (slowMotion) {
            check("slowmo")->setChecked(true);
            child<QLineEdit>("slowmo_factor")->setText("100");
        } else {
            check("pause")->setChecked(true);
        }
        QElapsedTimer t;
        t.start();
        solveWhile([&] {
            if (!w().isLoaded() || w().aborted())
                return;
            if (slowMotion ? t.elapsed() > 100 : status() == "Block excludes")
                w().unload();
            else if (!slowMotion)
                check("continue")->setChecked(true);
        });
        QVERIFY(t.elapsed() < 5000);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w().isLoaded());
        QVERIFY(!w().solving());

        open();
        QCOMPARE(texts(), puzzleCells(puzzleText(3)));
        button(1)->click();
        QCOMPARE(status(), QString("Puzzle Solved!"));
    }
};

VOLTARIS_TEST(TestSudoku);
#include "test_sudoku.moc"
