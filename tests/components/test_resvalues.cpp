#include "support/tempfolders.h"
#include "support/testmain.h"

#include "components/comp_zener.h"
#include "components/rlc_resvalues.h"
#include "common/rtfview.h"

#include <QComboBox>
#include <QFontInfo>
#include <QTest>

class TestResvalues : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        FormSlots::get<RLC_resvalues>().unload();
        FormSlots::get<Comp_zener>().unload();
    }

    void standardValues()
    {
        popup(QStringLiteral("RLC_resvalues"));
        auto& w = FormSlots::get<RLC_resvalues>();
        QVERIFY(w.visible());
        QCOMPARE(w.caption(), QString("Standard Values"));
        auto* selector = w.form()->findChild<QComboBox*>("partselector");
        auto* list = w.form()->findChild<RtfView*>("datalist");
        QCOMPARE(selector->currentIndex(), -1);
        QCOMPARE(selector->placeholderText(), QString("Select data set..."));
        QVERIFY(list->toPlainText().isEmpty());
        QCOMPARE(list->lineWrapMode(), QTextEdit::NoWrap);
        QVERIFY(QFontInfo(list->font()).fixedPitch());

        const struct {
            int item;
            int count;
            const char *first, *middle, *last;
        } cases[] = {{0, 576, " 10.0", " 97.6", " 9,760,000"}, {1, 201, " 0.10", " 1.0", " 22,000,000"},
                     {0, 576, " 10.0", " 100", " 9,760,000"}};
        for (const auto& c : cases) {
            selector->setCurrentIndex(c.item);
            QStringList lines = list->toPlainText().split(u'\n');
            if (lines.last().isEmpty())
                lines.removeLast();
            QCOMPARE(lines.size(), qsizetype(c.count));
            QCOMPARE(lines.first(), QString(c.first));
            QCOMPARE(lines.last(), QString(c.last));
            QVERIFY(lines.contains(QString(c.middle)));
        }
        // the selector takes no typing
        QTest::keyClicks(selector, "5");
        QCOMPARE(selector->currentIndex(), 0);
    }

    void zenerPage()
    {
        popup(QStringLiteral("Comp_Zener"));
        auto& w = FormSlots::get<Comp_zener>();
        QVERIFY(w.visible());
        QCOMPARE(w.caption(), QString("Zener Diode Quick Cross Reference"));
        auto* page = w.form()->findChild<RtfView*>("datalist");
        const QStringList lines = page->toPlainText().split(u'\n');
        QVERIFY(lines.contains("5.1\t1N5231B\t1N4733A\tBZX79-C5V1\tBZX85-C5V1"));
        QVERIFY(lines.contains("2.4\t1N5221B\t-\tBZX79-C2V4\t-"));
        QVERIFY(page->toPlainText().contains("data sheet governs"));
        // a click hides it; the menu shows it again
        QTest::mouseClick(page->viewport(), Qt::LeftButton);
        QVERIFY(!w.visible());
        popup(QStringLiteral("Comp_Zener"));
        QVERIFY(w.visible());
    }

    void zenerPageMissingOrDamaged()
    {
        TempFolders tf(false);
        auto& w = FormSlots::get<Comp_zener>();
        popup(QStringLiteral("Comp_Zener"));
        auto* page = w.form()->findChild<RtfView*>("datalist");
        QCOMPARE(page->toPlainText(), notInstalledText());
        QTest::mouseClick(page->viewport(), Qt::LeftButton);
        QVERIFY(!w.visible());
        w.unload();

        QByteArray junk("{\\rtf1 5.1\\tab 1N5231B{\\b\\'zz\\u-99999 \x01\xff");
        for (int i = 0; i < 256; ++i)
            junk += char(i);
        writeFile(tf.appFile("ZenerData.rtf"), junk);
        popup(QStringLiteral("Comp_Zener"));
        QVERIFY(w.visible());
        QVERIFY(w.form()->findChild<RtfView*>("datalist")->toPlainText().startsWith("5.1\t1N5231B"));
    }
};

VOLTARIS_TEST(TestResvalues);
#include "test_resvalues.moc"
