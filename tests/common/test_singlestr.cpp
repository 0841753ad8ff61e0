#include "support/testmain.h"

#include "common/numtext.h"

#include <QTest>

#include <limits>

class TestSinglestr : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void singlestr_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("fraction") << 0.1f << " .1";
        QTest::newRow("series value") << 97.6f << " 97.6";
        QTest::newRow("whole") << 1000.0f << " 1000";
        QTest::newRow("seven digits") << 9760000.0f << " 9760000";
        QTest::newRow("eight digits") << 22000000.0f << " 2.2E+07";
        QTest::newRow("ten million") << 10000000.0f << " 1E+07";
        QTest::newRow("rounded to seven") << 1.0f / 3 << " .3333333";
        QTest::newRow("negative") << -4.7f << "-4.7";
        QTest::newRow("zero") << 0.0f << " 0";
        QTest::newRow("small") << 0.00001f << " 1E-05";
        QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << " ---";
    }
    void singlestr()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(::singlestr(value), text);
    }
};

VOLTARIS_TEST(TestSinglestr);
#include "test_singlestr.moc"
