#include "support/limitedbox.h"
#include "support/testmain.h"

#include <QTest>

// Every length-limited box of this folder's windows keeps characters
// outside the Basic Multilingual Plane whole at its limit.
class TestDisplayLimitedBoxes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeCharactersAtTheLimit_data()
    {
        addLimitedBoxColumns();
        addLimitedBoxRow("Ctrl_9693_lumatile", "udcpattern", 15);
    }
    void wholeCharactersAtTheLimit()
    {
        checkLimitedBoxRow();
    }
};

VOLTARIS_TEST(TestDisplayLimitedBoxes);
#include "test_limitedboxes.moc"
