#include "support/limitedbox.h"
#include "support/testmain.h"

#include <QTest>

// Every length-limited box of this folder's windows keeps characters
// outside the Basic Multilingual Plane whole at its limit.
class TestSensorLimitedBoxes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeCharactersAtTheLimit_data()
    {
        addLimitedBoxColumns();
        addLimitedBoxRow("Ctrl_9249_lis33accel", "readaddr", 2);
        addLimitedBoxRow("Ctrl_9249_lis33accel", "eewritedata", 2);
        addLimitedBoxRow("Ctrl_8842_loadcellmulti", "sensordata_8", 5);
        addLimitedBoxRow("Ctrl_8842_loadcellmulti", "sensordata_15", 5);
    }
    void wholeCharactersAtTheLimit()
    {
        checkLimitedBoxRow();
    }
};

VOLTARIS_TEST(TestSensorLimitedBoxes);
#include "test_limitedboxes.moc"
