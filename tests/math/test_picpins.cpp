#include "support/modal.h"
#include "support/tempfolders.h"
#include "support/testmain.h"
#include "support/typing.h"
#include "support/widetext.h"

#include "app/a_main.h"
#include "common/alert.h"
#include "common/owntext.h"
#include "common/paths.h"
#include "math/pic_picpins.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {
const QChar kSep(17);

QString join(const QStringList& l)
{
    return l.join(kSep);
}
} // namespace

class TestPicPins : public QObject {
    Q_OBJECT
    PIC_picpins& w() { return FormSlots::get<PIC_picpins>(); }
    template <class T>
    T* ctl(const QString& name) { return w().form()->findChild<T*>(name); }
    QLineEdit* box(const QString& name, int k) { return ctl<QLineEdit>(name + '_' + QString::number(k)); }
    QRadioButton* mode(int i) { return ctl<QRadioButton>("iomode_" + QString::number(i)); }
    QComboBox* device() { return ctl<QComboBox>("device"); }
    QString result() { return ctl<QPlainTextEdit>("result")->toPlainText(); }
    // The box with its page shown, ready for the user's hand.
    QLineEdit* boxOn(const QString& name, int k)
    {
        showPage(k / 8);
        return box(name, k);
    }
    void click(const QString& name, int k) { QTest::mouseClick(boxOn(name, k), Qt::LeftButton); }
    void clickMode(int i)
    {
        showPage(i / 3);
        QTest::mouseClick(mode(i), Qt::LeftButton, {}, QPoint(8, mode(i)->height() / 2)); // on the button
    }
    void press(int button)
    {
        showPage(10);
        QTest::mouseClick(ctl<QPushButton>("command_" + QString::number(button)), Qt::LeftButton);
    }
    QString base() { return ctl<QLineEdit>("filenme")->text(); }
    void setBase(const QString& path) { ctl<QLineEdit>("filenme")->setText(path); }
    // Presses a button that raises one alert, answered with the named button.
    QString pressAnswered(int button, const char* answer, QString* title = nullptr)
    {
        ModalAnswer a(answer);
        press(button);
        if (!a.answered())
            return "(no alert)";
        if (title)
            *title = a.title();
        return a.text();
    }
    void showPage(int page) { ctl<QTabWidget>("SSTab1")->setCurrentIndex(page); }
    // Writes a pin file whose lines are given (CR LF after each).
    void writePin(const QStringList& lines)
    {
        QByteArray b;
        for (const QString& l : lines)
            b += l.toLatin1() + "\r\n";
        writeFile(base() + ".pin", b);
    }

private Q_SLOTS:
    void init()
    {
        auto* action = mainWindow().menuBar()->findChild<QAction*>("zpicpins");
        QVERIFY(action);
        action->trigger();
        QVERIFY(w().visible());
        QCOMPARE(w().caption(), QString("PICC Pin setup"));
        setBase(QDir(QString::fromLocal8Bit(qgetenv("VOLTARIS_TEMP"))).filePath("pins"));
        QFile::remove(base() + ".pin");
        QFile::remove(base() + ".txt");
    }
    void cleanup() { w().unload(); }

    void designState()
    {
        QCOMPARE(ctl<QTabWidget>("SSTab1")->count(), 11);
        QCOMPARE(ctl<QTabWidget>("SSTab1")->tabText(9), QString("Port J"));
        QCOMPARE(device()->count(), 15);
        QCOMPARE(device()->currentText(), QString("All Pins"));
        for (int k = 0; k < 80; ++k) {
            QCOMPARE(box("port", k)->text(), QString("I"));
            QCOMPARE(box("dat", k)->text(), QString("0"));
            QVERIFY(box("zname", k)->isEnabled());
        }
        for (int i = 0; i < 30; ++i)
            QCOMPARE(mode(i)->isChecked(), i % 3 == 0);
        w().unload();
        w().load();
        QCOMPARE(ctl<QLineEdit>("filenme")->text(), QDir(worktemp()).filePath("picpins"));
    }

    void toggleClicks()
    {
        showPage(1);
        QLineEdit* dir = box("port", 9);
        QLineEdit* dat = box("dat", 9);
        QTest::mouseClick(dir, Qt::LeftButton);
        QCOMPARE(dir->text(), QString("O"));
        QCOMPARE(w().form()->focusWidget(), ctl<QLineEdit>("hider"));
        // Also when the box holds the focus.
        giveFocus(dir);
        QTest::mouseClick(dir, Qt::LeftButton);
        QCOMPARE(dir->text(), QString("I"));
        QCOMPARE(w().form()->focusWidget(), ctl<QLineEdit>("hider"));
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(dat, Qt::LeftButton);
        QCOMPARE(dat->text(), QString("1"));
        QCOMPARE(dat->selectedText(), QString());
        // Keys do not change the read-only boxes.
        giveFocus(dat);
        QTest::keyClicks(dat, "0x");
        QCOMPARE(dat->text(), QString("1"));
        // A disabled box takes no clicks.
        device()->setCurrentIndex(device()->findText("PIC16F873"));
        showPage(0);
        click("port", 6);
        QCOMPARE(box("port", 6)->text(), QString("I"));
    }

    void processAndWrite()
    {
        showPage(1);
        typeInto(boxOn("zname", 11), "LED1");
        typeInto(boxOn("desc", 11), "status");
        press(0);
        QVERIFY(result().contains("\n#define     LED1        pin_b3          //status\n"));
        QVERIFY(!QFile::exists(base() + ".txt"));

        showPage(10);
        click("dat", 8);
        w().writedata("TOFILE");
        const QString shown = result();
        QVERIFY(shown.contains("output_b(0x01); "));
        QByteArray expect = shown.toLatin1();
        expect.replace("\n", "\r\n");
        QCOMPARE(readFile(base() + ".txt"), expect + "\r\n");

        // Cancel on the overwrite question: neither box nor file change.
        click("dat", 8);
        QString title;
        QCOMPARE(pressAnswered(1, "Command1_1", &title),
                 QString("A file with this name (.TXT) already exists, do you want to overwrite?"));
        QCOMPARE(title, QString("File overwrite warning!"));
        QCOMPARE(result(), shown);
        QCOMPARE(readFile(base() + ".txt"), expect + "\r\n");
        // OK overwrites.
        QVERIFY(pressAnswered(1, "Command1_0").contains("(.TXT)"));
        QVERIFY(result().contains("output_b(0x00); "));
        QVERIFY(readFile(base() + ".txt").contains("output_b(0x00); \r\n"));
    }

    void writeFailures()
    {
        // A folder where the text file should be, and a folder that does not exist.
        press(0);
        const QString before = result();
        QVERIFY(QDir().mkpath(base() + ".txt"));
        QVERIFY(pressAnswered(1, "Command1_0").contains(base() + ".txt"));
        QVERIFY(QFileInfo(base() + ".txt").isDir());
        QCOMPARE(result(), before);
        QVERIFY(QDir(base() + ".txt").removeRecursively());

        setBase(QDir(QString::fromLocal8Bit(qgetenv("VOLTARIS_TEMP"))).filePath("missing/pins"));
        QVERIFY(pressAnswered(1, "Command1_0").contains(base() + ".txt"));
        const int beeps = beepCount();
        QString title;
        QVERIFY(pressAnswered(3, "Command1_0", &title).contains(base() + ".pin"));
        QCOMPARE(beepCount(), beeps + 1); // the alert's own beep only
        QVERIFY(!QFile::exists(base() + ".pin"));
        QVERIFY(QDir(QFileInfo(base()).path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    }

    void saveFresh()
    {
        const int beeps = beepCount();
        press(3);
        QCOMPARE(beepCount(), beeps + 1);
        QStringList modes;
        for (int i = 0; i < 30; ++i)
            modes << (i % 3 == 0 ? "1" : "0");
        const QByteArray expect = ("All Pins\r\n" + join(QStringList(80, "I")) + "\r\n" + join(QStringList(80, "0")) +
                                   "\r\n" + QString(79, kSep) + "\r\n" + QString(79, kSep) + "\r\n" + join(modes) + "\r\n")
                                      .toLatin1();
        QCOMPARE(readFile(base() + ".pin"), expect);

        // Loading it back selects "All Pins" again.
        device()->setCurrentIndex(device()->findText("PIC18F452"));
        QVERIFY(!box("zname", 40)->isEnabled());
        press(2);
        QCOMPARE(beepCount(), beeps + 2);
        QCOMPARE(device()->currentText(), QString("All Pins"));
        QVERIFY(box("zname", 40)->isEnabled());

        // Overwrite question, Cancel keeps the file.
        typeInto(boxOn("zname", 0), "X");
        QString title;
        QCOMPARE(pressAnswered(3, "Command1_1", &title),
                 QString("A file with this name (.PIN) already exists, do you want to overwrite?"));
        QCOMPARE(title, QString("File overwrite warning!"));
        QCOMPARE(readFile(base() + ".pin"), expect);
        pressAnswered(3, "Command1_0");
        QVERIFY(readFile(base() + ".pin").contains("\r\nX\x11"));
    }

    void saveLoadRoundTrip()
    {
        device()->setCurrentIndex(device()->findText("PIC16F877"));
        showPage(2);
        typeInto(boxOn("zname", 20), "CLK");
        paste(boxOn("desc", 20), QString("clock") + kSep + "in\r\nput");
        QString typed = box("desc", 20)->text();
        click("port", 20);
        clickMode(7); // port C Fixed
        press(3);
        const QByteArray file = readFile(base() + ".pin");
        QCOMPARE(file.count("\r\n"), 6);
        QCOMPARE(file.count('\x11'), 4 * 79 + 29);

        pressAnswered(5, "Command1_0");
        device()->setCurrentIndex(0);
        QCOMPARE(box("zname", 20)->text(), QString());
        press(2);
        QCOMPARE(device()->currentText(), QString("PIC16F877"));
        QCOMPARE(box("zname", 20)->text(), QString("CLK"));
        QCOMPARE(box("desc", 20)->text(), typed.replace(kSep, ' ').replace('\r', ' ').replace('\n', ' '));
        QCOMPARE(box("port", 20)->text(), QString("O"));
        QVERIFY(mode(7)->isChecked());
        // What was loaded saves to the same bytes.
        pressAnswered(3, "Command1_0");
        QCOMPARE(readFile(base() + ".pin"), file);
    }

    void loadDeviceFile()
    {
        // A PIC16F877 file fills disabled entries too.
        QStringList names(80, QString());
        names[6] = "SIX";
        names[50] = "FIFTY";
        names[1] = "ABCDEFGHIJKLMNO"; // 15 characters
        QStringList modes(30, "0");
        modes[1] = "1"; // port A Fixed
        modes[5] = "1"; // port B Standard; port C all clear
        writePin({"  PIC16F877 ", join(QStringList(80, "O")), join(QStringList(80, "1")), join(names),
                  join(QStringList(80, "c")), join(modes)});
        press(2);
        QCOMPARE(device()->currentText(), QString("PIC16F877"));
        for (int k = 0; k < 80; ++k) {
            const bool on = k <= 5 || (k >= 8 && k <= 34);
            QCOMPARE(box("zname", k)->isEnabled(), on);
            QCOMPARE(box("port", k)->text(), QString("O"));
            QCOMPARE(box("desc", k)->text(), QString("c"));
        }
        QCOMPARE(box("zname", 6)->text(), QString("SIX"));
        QCOMPARE(box("zname", 50)->text(), QString("FIFTY"));
        QCOMPARE(box("zname", 1)->text(), QString("ABCDEFGHIJKL"));
        QVERIFY(mode(1)->isChecked());
        QVERIFY(mode(5)->isChecked());
        QVERIFY(mode(6)->isChecked()); // all clear: Fast
        press(0);
        QVERIFY(result().contains("#use fixed_io(a)\n#use standard_io(b)\n#use fast_io(c)\n#use fast_io(d)\n"
                                  "#use fast_io(e)\n"));

        // A device not in the list leaves the selection and the pins.
        device()->setCurrentIndex(device()->findText("PIC16F873"));
        writePin({"PIC99", join(QStringList(80, "I")), join(QStringList(80, "0")), join(QStringList(80, "")),
                  join(QStringList(80, "")), join(modes)});
        press(2);
        QCOMPARE(device()->currentText(), QString("PIC16F873"));
        QVERIFY(!box("port", 30)->isEnabled());
        QVERIFY(mode(1)->isChecked());
    }

    void deviceChangeKeepsTexts()
    {
        typeInto(boxOn("zname", 60), "KEEP");
        click("port", 60);
        clickMode(2);
        device()->setCurrentIndex(device()->findText("PIC18F6620"));
        QVERIFY(!box("zname", 60)->isEnabled());
        QVERIFY(box("zname", 52)->isEnabled());
        QVERIFY(mode(0)->isChecked());
        device()->setCurrentIndex(device()->findText("PIC12------------"));
        for (int k = 0; k < 80; ++k)
            QVERIFY(box("desc", k)->isEnabled());
        QCOMPARE(box("zname", 60)->text(), QString("KEEP"));
        QCOMPARE(box("port", 60)->text(), QString("O"));
    }

    // Names and comments outside Latin-1 come back from the pin file as
    // typed, and the C text carries them as they are.
    void textOutsideLatin1_data() { addWideTextRows(); }
    void textOutsideLatin1()
    {
        QFETCH(QString, wide);
        paste(boxOn("zname", 9), QStringLiteral("R\u03A9PULL"));
        paste(boxOn("desc", 9), wide);
        paste(boxOn("zname", 10), wide);
        const QString name10 = box("zname", 10)->text();
        press(3);
        pressAnswered(5, "Command1_0");
        QCOMPARE(box("desc", 9)->text(), QString());
        press(2);
        QCOMPARE(box("zname", 9)->text(), QStringLiteral("R\u03A9PULL"));
        QCOMPARE(box("desc", 9)->text(), wide);
        QCOMPARE(box("zname", 10)->text(), name10);

        w().writedata("TOFILE");
        const QString shown = result();
        QVERIFY(shown.contains(QStringLiteral("R\u03A9PULL")));
        QVERIFY(shown.contains(QStringLiteral("//") + wide));
        QString expect = shown;
        expect.replace("\n", "\r\n");
        QCOMPARE(decodeOwnText(readFile(base() + ".txt")), expect + "\r\n");
    }

    // Files saved before hold Latin-1 bytes and still load as they did.
    void oldLatin1PinFile()
    {
        press(3);
        QByteArray bytes = readFile(base() + ".pin");
        const int name = bytes.indexOf("\r\n", bytes.indexOf("\r\n", bytes.indexOf("\r\n") + 2) + 2) + 2;
        bytes.insert(name, muenchenLatin1());
        writeFile(base() + ".pin", bytes);
        pressAnswered(5, "Command1_0");
        press(2);
        QCOMPARE(box("zname", 0)->text(), QString::fromLatin1(muenchenLatin1()));
    }

    void namesCutTo12()
    {
        typeInto(boxOn("zname", 3), "ABCDEFGHIJKLMNOP");
        QCOMPARE(box("zname", 3)->text(), QString("ABCDEFGHIJKL"));
        paste(boxOn("zname", 4), "0123456789abcdef");
        QCOMPARE(box("zname", 4)->text(), QString("0123456789ab"));
    }

    // The 12-character limit counts characters: one outside the Basic
    // Multilingual Plane is kept whole or not at all, typed, pasted or
    // loaded, at every place around the limit, and the name comes back
    // from the pin file as shown.
    void namesCutBetweenCharacters_data()
    {
        const QString bulb = QStringLiteral("\U0001F4A1");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("last of 12") << "LED_STATUS_" + bulb << "LED_STATUS_" + bulb;
        QTest::newRow("13th") << "LED_STATUS_X" + bulb << "LED_STATUS_X";
        QTest::newRow("11th of 13") << "LED_STATU" + bulb + "XY" << "LED_STATU" + bulb + "XY";
        QTest::newRow("11th of 14") << "LED_STATU" + bulb + "XYZ" << "LED_STATU" + bulb + "XY";
        QTest::newRow("all pairs") << bulb.repeated(13) << bulb.repeated(12);
    }
    void namesCutBetweenCharacters()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        paste(boxOn("zname", 5), pasted);
        QCOMPARE(box("zname", 5)->text(), kept);
        // A full box takes no more typing, pairs included.
        QTest::keyClicks(box("zname", 5), "Q");
        QCOMPARE(box("zname", 5)->text(), kept);
        press(3);
        pressAnswered(5, "Command1_0");
        press(2);
        QCOMPARE(box("zname", 5)->text(), kept);
        // A file holding the longer name is cut the same way.
        QString line4 = join(QStringList(80, QString()));
        line4.prepend(pasted);
        QByteArray bytes = readFile(base() + ".pin");
        QList<QByteArray> lines = bytes.split('\n');
        lines[3] = line4.toUtf8() + '\r';
        writeFile(base() + ".pin", lines.join('\n'));
        pressAnswered(5, "Command1_0");
        press(2);
        QCOMPARE(box("zname", 0)->text(), kept);
    }

    // Half a character, which no file can hold, is refused by name: the
    // pin file and the C file are left as they were.
    void halfCharacterRefused()
    {
        box("zname", 3)->setText(QStringLiteral("LED_STATUS_") + QChar(0xD83D));
        for (int button : {3, 1}) {
            QString title;
            const QString text = pressAnswered(button, "Command1_0", &title);
            QCOMPARE(title, QString("Character not allowed"));
            QVERIFY2(text.contains(base() + (button == 3 ? ".pin" : ".txt")) && text.contains("Port A, bit 3, NAME")
                         && text.contains("U+D83D"),
                     qPrintable(text));
            QVERIFY(!QFile::exists(base() + ".pin") && !QFile::exists(base() + ".txt"));
        }
    }

    // A file past the cap is refused, and the alert names the cap.
    void tooLargeNamesItsCap()
    {
        QFile f(base() + ".pin");
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize((16 << 20) + 1));
        f.close();
        const QString text = pressAnswered(2, "Command1_0");
        QVERIFY2(text.contains(base() + ".pin") && text.contains("16 MiB"), qPrintable(text));
    }

    void damagedPinFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("three lines") << QByteArray("All Pins\r\nO\x11O\r\n1\r\n");
        QTest::newRow("binary") << QByteArray("\x00\xff\x11\x80\r\x11\x11\n\x01", 9);
        QTest::newRow("no separators") << QByteArray("All Pins\r\nOOOO\r\n1111\r\nn\r\nc\r\n111\r\n");
        QTest::newRow("oversized line") << QByteArray("All Pins\r\n") + QByteArray(300000, 'O') + "\r\n";
    }
    void damagedPinFiles()
    {
        QFETCH(QByteArray, bytes);
        typeInto(boxOn("zname", 70), "OLD");
        writeFile(base() + ".pin", bytes);
        QString title;
        QVERIFY(pressAnswered(2, "Command1_0", &title).contains(base() + ".pin"));
        QCOMPARE(box("zname", 70)->text(), QString()); // missing entries: defaults
        for (int k = 0; k < 80; ++k) {
            QVERIFY(box("port", k)->text() == "I" || box("port", k)->text() == "O");
            QVERIFY(box("dat", k)->text() == "0" || box("dat", k)->text() == "1");
        }
        // The window stays usable.
        press(0);
        QVERIFY(result().contains("port_b_pullups(true);"));
    }

    void questions()
    {
        QString title;
        QCOMPARE(pressAnswered(2, "Command1_0", &title), QString("The file selected does not exist, fix and re-try"));
        QCOMPARE(title, QString("File Access Error"));

        press(0);
        typeInto(boxOn("zname", 0), "KEEP");
        QCOMPARE(pressAnswered(5, "Command1_1", &title), QString("Are you sure you want to clear the workspace?"));
        QCOMPARE(title, QString("Data loss warning!"));
        QCOMPARE(box("zname", 0)->text(), QString("KEEP"));
        QVERIFY(!result().isEmpty());

        device()->setCurrentIndex(device()->findText("PIC16C74"));
        click("dat", 0);
        clickMode(4);
        pressAnswered(5, "Command1_0");
        QCOMPARE(box("zname", 0)->text(), QString());
        QCOMPARE(box("dat", 0)->text(), QString("0"));
        QVERIFY(mode(3)->isChecked());
        QCOMPARE(result(), QString());
        QCOMPARE(device()->currentText(), QString("PIC16C74"));
        QVERIFY(!box("zname", 40)->isEnabled());
    }

    void helpBox()
    {
        auto* help = ctl<QPlainTextEdit>("helpbox");
        QVERIFY(!help->isVisible());
        showPage(10);
        press(4);
        QVERIFY(help->isVisible());
        QVERIFY(help->toPlainText().startsWith("PIC PINS [CCS PICC] 1.00.00\n\nThis program generates C code"));
        QVERIFY(help->toPlainText().endsWith("to I/O available to a particular processor.\n"));
        QTest::mouseClick(help->viewport(), Qt::LeftButton);
        QVERIFY(!help->isVisible());
    }
};

VOLTARIS_TEST(TestPicPins);
#include "test_picpins.moc"
