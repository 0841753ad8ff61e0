#include "support/testmain.h"
#include "support/typing.h"

#include "components/rlc_inductorair.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

class TestInductorAir : public QObject {
    Q_OBJECT
    RLC_inductorair& w() { return FormSlots::get<RLC_inductorair>(); }
    template <class T>
    T* ctl(const QString& name) { return w().form()->findChild<T*>(name); }
    QLineEdit* spec(int i) { return boxNamed(w(), QStringLiteral("spec_%1").arg(i)); }
    // Spacing, Wire Diameter, OD, Length-Actual, Inductance, Wire Length, Wire DCR
    QStringList outputs()
    {
        QStringList out;
        for (int i : {3, 4, 6, 7})
            out << spec(i)->text();
        for (const char* n : {"inductance", "wirelength", "wiredcr"})
            out << ctl<QLineEdit>(n)->text();
        return out;
    }
    void choose(const char* list, const QString& entry)
    {
        auto* c = ctl<QComboBox>(list);
        c->setCurrentIndex(c->findText(entry));
    }

private Q_SLOTS:
    void init()
    {
        popup(QStringLiteral("RLC_inductorair"));
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void designs_data()
    {
        QTest::addColumn<QString>("turns");
        QTest::addColumn<QString>("awg");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QStringList>("expect");
        QTest::newRow("defaults, close wound")
            << "" << "" << "" << ""
            << QStringList{"0.000000", "0.731429", "2.462857", "10.971430", "1.818591", "81.591653", "0.000131"};
        QTest::newRow("15 turns AWG 20")
            << "15" << "20" << "1" << "1"
            << QStringList{"0.034705", "0.031961", "1.063923", "1.000000", "4.035147", "48.630038", "0.041045"};
        QTest::newRow("10 turns AWG 20, long")
            << "10" << "20" << "0.5" << "2"
            << QStringList{"0.168039", "0.031961", "0.563923", "2.000000", "0.357869", "16.712062", "0.014105"};
        QTest::newRow("zero length winds close")
            << "15" << "20" << "1" << "0"
            << QStringList{"0.000000", "0.031961", "1.063923", "0.479422", "6.750826", "48.630038", "0.041045"};
    }
    void designs()
    {
        QFETCH(QString, turns);
        QFETCH(QString, awg);
        QFETCH(QString, id);
        QFETCH(QString, length);
        QFETCH(QStringList, expect);
        if (!turns.isEmpty())
            choose("turns", turns);
        if (!awg.isEmpty())
            choose("awg", awg);
        if (!id.isEmpty())
            retype(spec(1), id);
        if (!length.isEmpty())
            retype(spec(2), length);
        QCOMPARE(outputs(), expect);
        QCOMPARE(ctl<QComboBox>("material")->currentText(), QString("Copper"));
    }

    void rewrites()
    {
        retype(spec(1), "2");
        QCOMPARE(spec(1)->text(), QString("2"));
        pressEnter(spec(1));
        QCOMPARE(spec(1)->text(), QString("2.000000"));
        retype(spec(2), "3.5");
        leaveBox(spec(2));
        QCOMPARE(spec(2)->text(), QString("3.500000"));
        // Length-Actual is overwritten and read by nothing
        const QStringList before = outputs();
        retype(spec(7), "99");
        QCOMPARE(outputs(), before);
        retype(spec(7), "5");
        pressEnter(spec(7));
        QCOMPARE(spec(7)->text(), before[3]);
    }

    void badInput()
    {
        retype(spec(1), "1x-e");
        QCOMPARE(spec(1)->text(), QString("1"));
        paste(spec(1), "-5");
        QVERIFY(!ctl<QLineEdit>("inductance")->text().contains("nan", Qt::CaseInsensitive));
        paste(spec(2), QString(400, u'9'));
        for (const QString& s : outputs())
            QVERIFY2(!s.contains("nan", Qt::CaseInsensitive) && !s.contains("inf", Qt::CaseInsensitive), qPrintable(s));
        auto* turns = ctl<QComboBox>("turns");
        giveFocus(turns);
        QTest::keyClicks(turns, "2");
        QCOMPARE(turns->currentText(), QString("15"));
    }

    void helpToggle()
    {
        auto* frame = w().form()->findChild<QWidget*>("helpframe");
        QVERIFY(frame && !frame->isVisible());
        QTest::mouseClick(ctl<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(frame->isVisible());
        QVERIFY(frame->width() > 100 && frame->height() > 100);
        // the drawing is there: coloured turns on white
        const QImage img = frame->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < img.height(); y += 2)
            for (int x = 0; x < img.width(); x += 2)
                coloured += img.pixelColor(x, y) == QColor(192, 96, 0);
        QVERIFY(coloured > 20);
        // Nothing of the drawing, its captions included, runs off its sides.
        for (int x : {0, 1, img.width() - 2, img.width() - 1})
            for (int y = 0; y < img.height(); ++y)
                QVERIFY2(img.pixelColor(x, y) == QColor(Qt::white), qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
        QTest::mouseClick(ctl<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(!frame->isVisible());
    }

    // The drawing covers every row of fields, the last ("Wire DCR" with its
    // captions) whole, and ends above the Help button and the metal list,
    // at the design size and in a window made larger.
    void helpCoversTheFields_data()
    {
        QTest::addColumn<int>("extra"); // pixels added to the window's height
        QTest::newRow("design size") << 0;
        QTest::newRow("taller window") << 200;
    }
    void helpCoversTheFields()
    {
        QFETCH(int, extra);
        QWidget* form = w().form();
        QWidget* top = w().subWindow() ? static_cast<QWidget*>(w().subWindow()) : form;
        top->resize(top->width(), top->height() + extra);
        QTRY_VERIFY(form->height() >= form->minimumHeight() + extra);
        auto* frame = form->findChild<QWidget*>("helpframe");
        QTest::mouseClick(ctl<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(frame->isVisible());
        const QRect drawn = frame->geometry();
        QRect row = ctl<QLineEdit>("wiredcr")->geometry();
        for (QLabel* l : form->findChildren<QLabel*>())
            if (l->text() == QLatin1String("Wire DCR") || (l->text() == QLatin1String("Ohms")))
                row |= l->geometry();
        QVERIFY2(drawn.contains(row), qPrintable(QStringLiteral("drawing ends at %1, the row at %2")
                                                     .arg(drawn.bottom())
                                                     .arg(row.bottom())));
        for (const char* name : {"Command1", "material"}) {
            const QRect below = ctl<QWidget>(name)->geometry();
            QVERIFY2(drawn.bottom() < below.top(), qPrintable(QStringLiteral("drawing ends at %1, %2 starts at %3")
                                                                  .arg(drawn.bottom())
                                                                  .arg(name)
                                                                  .arg(below.top())));
        }
    }
};

VOLTARIS_TEST(TestInductorAir);
#include "test_inductorair.moc"
