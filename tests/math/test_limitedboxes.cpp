#include "support/limitedbox.h"
#include "support/testmain.h"

#include <QTest>

// Every length-limited box of this folder's windows keeps characters
// outside the Basic Multilingual Plane whole at its limit.
class TestMathLimitedBoxes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeCharactersAtTheLimit_data()
    {
        addLimitedBoxColumns();
        addLimitedBoxRow("Math_bcdcompress", "xdecimal", 9);
        addLimitedBoxRow("Math_bcdcompress", "xhexadecimal", 8);
        addLimitedBoxRow("Math_xteatester", "encryptkey", 32);
        addLimitedBoxRow("Math_xteatester", "plaintext", 16);
        addLimitedBoxRow("Math_xteatester", "cyphertext", 16);
        addLimitedBoxRow("Math_sudoku", "cellvalue_0", 1);
        addLimitedBoxRow("PIC_picpins", "zname_0", 12);
    }
    void wholeCharactersAtTheLimit()
    {
        checkLimitedBoxRow();
    }
};

VOLTARIS_TEST(TestMathLimitedBoxes);
#include "test_limitedboxes.moc"
