#pragma once
// The two ways a window's work can be ended midway: its window closed, or
// the program quit. A column "quit" (bool).

#include <QTest>

inline void addCloseOrQuitRows()
{
    QTest::addColumn<bool>("quit");
    QTest::newRow("close") << false;
    QTest::newRow("quit") << true;
}
