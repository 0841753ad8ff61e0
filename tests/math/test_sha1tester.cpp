#include "support/modal.h"
#include "support/sha1text.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "app/a_main.h"
#include "common/formbuilder.h"
#include "math/math_sha1tester.h"
#include "math/testvectors.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

namespace {
const QString abcDigest = "A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D";
const QString emptyDigest = "DA39A3EE 5E6B4B0D 3255BFEF 95601890 AFD80709";
} // namespace

class TestSha1Tester : public QObject {
    Q_OBJECT
    Math_sha1tester& w() { return FormSlots::get<Math_sha1tester>(); }
    QLineEdit* box(const char* name) { return boxNamed(w(), name); }
    QComboBox* list() { return w().form()->findChild<QComboBox*>("Combo1"); }
    QPlainTextEdit* message() { return w().form()->findChild<QPlainTextEdit*>("message"); }
    QPushButton* hashButton() { return w().form()->findChild<QPushButton*>("Command1_1"); }
    QRadioButton* mode(int i) { return w().form()->findChild<QRadioButton*>(arrayName("inputmode", i)); }
    void choose(int n)
    {
        list()->setCurrentIndex(n);
        emit list()->activated(n);
    }
    void hash()
    {
        hashButton()->click();
        QCOMPARE(hashButton()->text(), QString("Hash Message"));
        QVERIFY(hashButton()->isEnabled());
    }

private Q_SLOTS:
    void init()
    {
        popup("Math_sha1tester");
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void storedDigestsArePublished()
    {
        const auto& v = sha1vectors();
        QCOMPARE(int(v.size()), 12);
        for (int n = 1; n < int(v.size()); ++n) {
            const QByteArray bytes = n == sha1MillionEntry ? QByteArray(1000000, 'a') : v[n].message.toLatin1();
            QCOMPARE(v[n].expected, sha1Text(bytes));
        }
        QCOMPARE(v[sha1MillionEntry].message, QString("a...a x 1,000,000"));
    }

    void openingLeavesTheMainCaption()
    {
        w().unload();
        const QString before = mainWindow().windowTitle();
        popup("Math_sha1tester");
        QCOMPARE(mainWindow().windowTitle(), before);
        QCOMPARE(w().caption(), QString("SHA1 Hash Function Tester"));
        QCOMPARE(box("Text1")->text(), Math_sha1tester::standardConstants());
        QCOMPARE(list()->currentIndex(), 0);
        QCOMPARE(box("hashtime")->text(), QString("0.000"));
        QVERIFY(mode(0)->isChecked());
    }

    void abcInTextAndHex()
    {
        choose(2);
        QCOMPARE(message()->toPlainText(), QString("abc"));
        QCOMPARE(box("exphash")->text(), abcDigest);
        hash();
        QCOMPARE(box("hashdata")->text(), abcDigest);
        QVERIFY(QRegularExpression("^\\d+\\.\\d{3}$").match(box("hashtime")->text()).hasMatch());

        mode(1)->click();
        QCOMPARE(message()->toPlainText(), QString("61 62 63 "));
        QCOMPARE(box("exphash")->text(), abcDigest);
        QCOMPARE(box("hashdata")->text(), QString());
        hash();
        QCOMPARE(box("hashdata")->text(), abcDigest);
        mode(0)->click();
        QCOMPARE(message()->toPlainText(), QString("abc"));
    }

    void emptyMessageSelectsEntryOne()
    {
        choose(3);
        message()->clear();
        hash();
        QCOMPARE(list()->currentIndex(), 1);
        QCOMPARE(box("exphash")->text(), emptyDigest);
        QCOMPARE(box("hashdata")->text(), emptyDigest);
    }

    void editedConstants()
    {
        QLineEdit* k = box("Text1");
        choose(2);
        giveFocus(k);
        k->end(false);
        QTest::keyClick(k, Qt::Key_Backspace);
        QTest::keyClicks(k, "8X");
        QCOMPARE(k->text(), QString("CA62C1D68F1BBCDC6ED9EBA15A827998"));
        QCOMPARE(box("exphash")->text(), QString());
        hash();
        QCOMPARE(box("exphash")->text(), QString());
        QVERIFY(box("hashdata")->text().size() == 44);
        QVERIFY(box("hashdata")->text() != abcDigest);

        QTest::mouseDClick(k, Qt::LeftButton);
        QCOMPARE(k->text(), Math_sha1tester::standardConstants());
        retype(k, "1");
        pressEnter(k);
        QCOMPARE(k->text(), QString(31, u'0') + "1");
        choose(2);
        retype(k, "1");
        hash();
        QCOMPARE(k->text(), QString(31, u'0') + "1");
        QCOMPARE(box("exphash")->text(), QString());

        choose(2);
        paste(k, "ca62-c1d6 8f1b:bcdc 6ed9ebA15A827999");
        QCOMPARE(k->text(), Math_sha1tester::standardConstants());
        QCOMPARE(box("exphash")->text(), QString());
        hash();
        QCOMPARE(box("hashdata")->text(), abcDigest);
    }

    void millionOnlyFromItsEntry()
    {
        mode(1)->click();
        choose(sha1MillionEntry);
        QVERIFY(mode(0)->isChecked());
        QCOMPARE(message()->toPlainText(), QString("a...a x 1,000,000"));
        hash();
        QCOMPARE(box("hashdata")->text(), QString("34AA973C D4C4DAA4 F61EEB2B DBAD2731 6534016F"));
        QCOMPARE(box("exphash")->text(), box("hashdata")->text());

        message()->clear();
        giveFocus(message());
        QTest::keyClicks(message(), "a...a x 1,000,000");
        hash();
        QCOMPARE(box("hashdata")->text(), sha1Text("a...a x 1,000,000"));
    }

    void textWithoutOneByteCode()
    {
        message()->setPlainText(QString::fromUtf8("caf\u00e9 \u03a9"));
        QString buttonDuringAlert;
        ModalAnswer ok("Command1_0");
        ok.setBeforePress([&](QWidget*) { buttonDuringAlert = hashButton()->text(); });
        hash();
        QVERIFY(ok.answered());
        QVERIFY(ok.text().contains("Hex mode"));
        QCOMPARE(buttonDuringAlert, QString("Wait..."));
        QCOMPARE(box("hashdata")->text(), QString());

        message()->setPlainText(QString::fromUtf8("caf\u00e9"));
        hash();
        QCOMPARE(box("hashdata")->text(), sha1Text(QByteArray("caf\xe9")));
    }
};

VOLTARIS_TEST(TestSha1Tester);
#include "test_sha1tester.moc"
