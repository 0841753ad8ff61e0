#include "sudokuboards.h"
#include "support/testmain.h"

#include <QTest>

using namespace sudoku;

class TestSudokuSolver : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbering()
    {
        // Block-major: cell 10 is block 1, position 1 -> row 0, column 4.
        QCOMPARE(rowOf(10), 0);
        QCOMPARE(columnOf(10), 4);
        QCOMPARE(rowOf(80), 8);
        QCOMPARE(columnOf(80), 8);
        for (int c = 0; c < cellCount; ++c)
            QCOMPARE(cellAt(rowOf(c), columnOf(c)), c);
        QCOMPARE(puzzleCells(puzzleText(1)).mid(9, 9).join(','), QString(",,,,,4,,6,9"));
        QVERIFY(puzzleCells(puzzleText(1).left(88)).isEmpty());
        QCOMPARE(puzzleText(7), puzzleText(3));
    }

    void cellDigits()
    {
        const QStringList empty = {"", "0", "a", ".", " ", "-", "77", QString(QChar(0x661))};
        for (const QString& t : empty)
            QCOMPARE(cellDigit(t), 0);
        QCOMPARE(cellDigit("1"), 1);
        QCOMPARE(cellDigit("9"), 9);
    }

    void slowMotion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wait");
        QTest::newRow("2.5 rounds down to even") << "2.5" << 2;
        QTest::newRow("3.5 rounds up to even") << "3.5" << 4;
        QTest::newRow("leading number") << "12ms" << 12;
        QTest::newRow("no number") << "fast" << 0;
        QTest::newRow("negative") << "-40" << 0;
        QTest::newRow("beyond 16 bits") << "99999" << 32767;
        QTest::newRow("huge exponent") << "1e400" << 32767;
    }
    void slowMotion()
    {
        QFETCH(QString, text);
        QFETCH(int, wait);
        QCOMPARE(slowMotionWait(text), wait);
    }

    void builtInPuzzlesSolve_data()
    {
        QTest::addColumn<int>("puzzle");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("3") << 3;
    }
    void builtInPuzzlesSolve()
    {
        QFETCH(int, puzzle);
        const QStringList given = puzzleCells(puzzleText(puzzle));
        MemoryBoard b(given);
        QCOMPARE(solve(b), Outcome::Solved);
        QCOMPARE(b.status, QString("Puzzle Solved!"));
        QVERIFY(completeAndConsistent(b));
        for (int c = 0; c < cellCount; ++c) {
            QCOMPARE(b.states[c], given[c].isEmpty() ? CellState::Solved : CellState::Input);
            if (!given[c].isEmpty())
                QCOMPARE(b.texts[c], given[c]);
        }
        for (int k = 0; k < candidateCount; ++k)
            QVERIFY(b.marks[k] != Open);

        // Solving a solved board again: one pass, nothing changes.
        const auto marks = b.marks;
        const auto texts = b.texts;
        b.pauses = 0;
        QCOMPARE(solve(b), Outcome::Solved);
        QCOMPARE(b.pauses, 2 + 6);
        QVERIFY(b.marks == marks);
        QVERIFY(b.texts == texts);
    }

    void emptyBoardRunsAHundredPasses()
    {
        MemoryBoard b;
        QCOMPARE(solve(b), Outcome::NoSolution);
        QCOMPARE(b.status, QString("No solution!"));
        QCOMPARE(b.pauses, 2 + 6 * 100);
        QCOMPARE(b.markCount, 0);
    }

    void cleanUpTakesOnlyDigits()
    {
        QStringList cells = cellsWith({{0, 0, 7}});
        cells[1] = "0";
        cells[2] = "a";
        cells[3] = ".";
        MemoryBoard b(cells);
        b.stopAtPause = 1; // after "Initial data"
        QCOMPARE(solve(b), Outcome::Stopped);
        QCOMPARE(b.status, QString("Initial data"));
        QCOMPARE(b.texts[0], QString("7"));
        QCOMPARE(b.states[0], CellState::Input);
        for (int c = 1; c <= 3; ++c) {
            QCOMPARE(b.texts[c], QString());
            QCOMPARE(b.states[c], CellState::Free);
        }
    }

    void marksFollowTheirRule()
    {
        MemoryBoard b(lonelyOneBoard());
        QCOMPARE(solve(b), Outcome::NoSolution);
        const auto markOf = [&](int row, int column, int digit) { return b.marks[9 * cellAt(row, column) + digit - 1]; };
        QCOMPARE(markOf(3, 1, 5), int(DataExcl));   // a given's own candidates
        QCOMPARE(markOf(4, 0, 1), int(BlockExcl));  // beside the 1 in block 3
        QCOMPARE(markOf(1, 0, 1), int(RowExcl));    // row 1 holds a 1 outside block 0
        QCOMPARE(markOf(0, 1, 1), int(ColumnExcl)); // column 1 holds a 1 outside block 0
        // Row 0 leaves a 1 only in its first cell.
        QCOMPARE(b.texts[cellAt(0, 0)], QString("1"));
        QCOMPARE(b.states[cellAt(0, 0)], CellState::Solved);
        QCOMPARE(markOf(0, 0, 2), int(SingleExcl));
        QCOMPARE(markOf(0, 0, 1), int(BlockExcl)); // its own digit, one pass later
        QCOMPARE(markOf(0, 4, 2), int(Open));
    }

    void contradictionsHaveNoSolution_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<bool>("atOnce");
        QStringList twoFives = puzzleCells(puzzleText(1));
        twoFives[cellAt(0, 0)] = "5";
        twoFives[cellAt(0, 8)] = "5";
        QTest::newRow("two 5s in a row") << twoFives << false;
        // Row 0 holds 1-8 and column 8 a 9: the last cell of row 0 has no
        // candidate left, the rest fills up.
        QStringList noCandidate = cellsWith({{0, 0, 1}, {0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 5}, {0, 5, 6}, {0, 6, 7}, {0, 7, 8}, {5, 8, 9}});
        QTest::newRow("a cell without candidate") << noCandidate << false;
        // A complete board with two digits swapped breaks two columns
        // but leaves no candidate open: it ends after the first pass.
        MemoryBoard solved(puzzleCells(puzzleText(2)));
        solve(solved);
        QStringList swapped(solved.texts.begin(), solved.texts.end());
        swapped.swapItemsAt(cellAt(0, 0), cellAt(0, 4));
        swapped.swapItemsAt(cellAt(1, 0), cellAt(1, 8));
        QTest::newRow("full but inconsistent") << swapped << true;
    }
    void contradictionsHaveNoSolution()
    {
        QFETCH(QStringList, cells);
        QFETCH(bool, atOnce);
        MemoryBoard b(cells);
        QCOMPARE(solve(b), Outcome::NoSolution);
        QCOMPARE(b.status, QString("No solution!"));
        QVERIFY(!completeAndConsistent(b));
        if (atOnce)
            QCOMPARE(b.pauses, 2 + 6);
    }
};

VOLTARIS_TEST(TestSudokuSolver);
#include "test_sudokusolver.moc"
