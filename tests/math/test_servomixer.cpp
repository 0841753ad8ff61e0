#include "support/testmain.h"
#include "support/typing.h"

#include "common/picturebox.h"
#include "math/math_servomixer.h"
#include "math/servomix.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {
QString sep()
{
    return QString(77, u'-') + "\r\n";
}
} // namespace

class TestServoMixer : public QObject {
    Q_OBJECT
    Math_servomixer& w() { return FormSlots::get<Math_servomixer>(); }
    PictureBox* picture() { return w().form()->findChild<PictureBox*>("Picture1"); }
    int bar(const char* name) { return w().form()->findChild<QProgressBar*>(name)->value(); }
    QString t(const char* name) { return boxNamed(w(), name)->text(); }
    QPushButton* showcode() { return w().form()->findChild<QPushButton*>("showcode"); }
    QPlainTextEdit* codewindow() { return w().form()->findChild<QPlainTextEdit*>("codewindow"); }
    // A press at a point given in twips, at the pixel nearest to it (not
    // (0, 0), which QTest takes for the widget's centre).
    void press(double x, double y)
    {
        QTest::mousePress(picture(), Qt::LeftButton, {}, QPoint(qRound(x / 15), qRound(y / 15)));
        QTest::mouseRelease(picture(), Qt::LeftButton, {}, QPoint(qRound(x / 15), qRound(y / 15)));
    }
    QList<int> bars() { return {bar("pwm0pos"), bar("pwm0neg"), bar("pwm1pos"), bar("pwm1neg")}; }

private Q_SLOTS:
    void init()
    {
        popup("Math_servomixer");
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void opening()
    {
        QCOMPARE(w().caption(), QString("Servo mixer tester"));
        auto* algor = w().form()->findChild<QComboBox*>("algor");
        QCOMPARE(algor->count(), 1);
        QCOMPARE(algor->currentText(), QString("2 Wheel/Single joystick!"));
        QCOMPARE(bars(), QList<int>({0, 0, 0, 0}));
        QVERIFY(!codewindow()->isVisibleTo(w().form()));
        // The axes cross at the centre of the area.
        QCOMPARE(picture()->point(2500, 1000), QColor(0, 0, 0));
        QCOMPARE(picture()->point(1000, 2500), QColor(0, 0, 0));
    }

    // Presses through the real picture: channels, sector outputs, bars.
    void presses_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("ch0");
        QTest::addColumn<QString>("ch1");
        QTest::addColumn<QList<int>>("expected"); // pwm0pos, pwm0neg, pwm1pos, pwm1neg
        QTest::newRow("centre") << 2500.0 << 2500.0 << "0" << "0" << QList<int>{0, 0, 0, 0};
        QTest::newRow("forward") << 2500.0 << 400.0 << "100" << "0" << QList<int>{100, 0, 100, 0};
        QTest::newRow("left") << 400.0 << 2500.0 << "0" << "100" << QList<int>{0, 100, 100, 0};
        QTest::newRow("right") << 4600.0 << 2500.0 << "0" << "-100" << QList<int>{100, 0, 0, 100};
        QTest::newRow("back") << 2500.0 << 4600.0 << "-100" << "0" << QList<int>{0, 100, 0, 100};
        QTest::newRow("beyond full deflection") << 5000.0 << 5000.0 << "-100" << "-100" << QList<int>{0, 0, 0, 100};
        QTest::newRow("diagonal: steep row") << 1450.0 << 1450.0 << "50" << "50" << QList<int>{0, 0, 50, 0};
        QTest::newRow("top left corner") << 15.0 << 15.0 << "100" << "100" << QList<int>{0, 0, 100, 0};
    }
    void presses()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QString, ch0);
        QFETCH(QString, ch1);
        QFETCH(QList<int>, expected);
        press(3500, 1000); // something else first, so every bar is rewritten
        press(x, y);
        QCOMPARE(t("dch0"), ch0);
        QCOMPARE(t("dch1"), ch1);
        QCOMPARE(bars(), expected);
    }

    // Every point, on the area, on its edges or far off it, clamps.
    void channelsClamp()
    {
        for (const QPointF p : {QPointF(-1e9, -1e9), QPointF(1e9, 1e9), QPointF(0, 5055), QPointF(5055, 0),
                                QPointF(qInf(), -qInf()), QPointF(qQNaN(), 2500)}) {
            const StickChannels ch = stickchannels(p.x(), p.y());
            QVERIFY(ch.ch0 >= -100 && ch.ch0 <= 100);
            QVERIFY(ch.ch1 >= -100 && ch.ch1 <= 100);
        }
        const QSize size = picture()->size();
        for (const QPoint p : {QPoint(1, 1), QPoint(size.width() - 1, size.height() - 1), QPoint(size.width() - 1, 1)}) {
            QTest::mousePress(picture(), Qt::LeftButton, {}, p);
            QCOMPARE(qAbs(t("dch0").toInt()), 100);
            QCOMPARE(qAbs(t("dch1").toInt()), 100);
        }
        w().Picture1_MouseDown(-70000, 90000);
        QCOMPARE(t("dch0"), QString("-100"));
        QCOMPARE(t("dch1"), QString("100"));
    }

    void sectors_data()
    {
        QTest::addColumn<int>("ch0");
        QTest::addColumn<int>("ch1");
        QTest::addColumn<QString>("sector");
        QTest::addColumn<int>("pwm0");
        QTest::addColumn<int>("pwm1");
        QTest::newRow("A") << 80 << 30 << "A" << 50 << 80;
        QTest::newRow("B") << 30 << 80 << "B" << -50 << 80;
        QTest::newRow("C") << -30 << 80 << "C" << -80 << 50;
        QTest::newRow("D") << -80 << 30 << "D" << -80 << -50;
        QTest::newRow("E") << 80 << -30 << "E" << 80 << 50;
        QTest::newRow("F") << 30 << -80 << "F" << 80 << -50;
        QTest::newRow("G") << -30 << -80 << "G" << 50 << -80;
        QTest::newRow("H") << -80 << -30 << "H" << -50 << -80;
        QTest::newRow("diagonal is steep") << -40 << -40 << "H" << 0 << -40;
        QTest::newRow("zero is positive") << 0 << -60 << "F" << 60 << -60;
    }
    void sectors()
    {
        QFETCH(int, ch0);
        QFETCH(int, ch1);
        QFETCH(QString, sector);
        QFETCH(int, pwm0);
        QFETCH(int, pwm1);
        const MixerSector m = mixsector({ch0, ch1});
        QCOMPARE(QString(QChar(m.sector)), sector);
        QCOMPARE(m.pwm0, pwm0);
        QCOMPARE(m.pwm1, pwm1);
    }

    void sectorTable()
    {
        const QString expected = "Sector\tFunction\r\n" + sep()
            + "A:\tPWM1 = CH0\tPWM0 = |CH0| - |CH1|\r\n" + sep()
            + "D:\tPWM0 = CH0\tPWM1 = -(|CH0| - |CH1|)\r\n" + sep()
            + "B:\tPWM1 = CH1\tPWM0 = -(|CH1| - |CH0|)\r\n" + sep()
            + "C:\tPWM0 = -CH1\tPWM1 = |CH1| - |CH0|\r\n" + sep()
            + "E:\tPWM0 = CH0\tPWM1 = |CH0| - |CH1|\r\n" + sep()
            + "H:\tPWM1 = CH0\tPWM0 = -(|CH0| - |CH1|)\r\n" + sep()
            + "F:\tPWM0 = |CH1|\tPWM1 = -(|CH1| - |CH0|)\r\n" + sep()
            + "G:\tPWM1 = CH1\tPWM0 = |CH1| - |CH0|\r\n" + sep();
        QCOMPARE(sectortable(), expected);
        QString shown = expected;
        shown.replace("\r\n", "\n");

        QTest::mouseClick(showcode(), Qt::LeftButton);
        QCOMPARE(showcode()->text(), QString("Hide Code"));
        QVERIFY(codewindow()->isVisibleTo(w().form()));
        QCOMPARE(codewindow()->toPlainText(), shown);
        QTest::mouseClick(showcode(), Qt::LeftButton);
        QCOMPARE(showcode()->text(), QString("Show Code"));
        QVERIFY(!codewindow()->isVisibleTo(w().form()));
        QCOMPARE(codewindow()->toPlainText(), shown);
        QTest::mouseClick(showcode(), Qt::LeftButton);
        QCOMPARE(codewindow()->toPlainText(), shown);
    }
};

VOLTARIS_TEST(TestServoMixer);
#include "test_servomixer.moc"
