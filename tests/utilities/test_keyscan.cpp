#include "support/testmain.h"
#include "support/typing.h"

#include "utilities/keynames.h"
#include "utilities/util_keyscan.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {
Util_keyscan& window()
{
    return FormSlots::get<Util_keyscan>();
}

QLineEdit* box(const char* name)
{
    return boxNamed(window(), QString::fromLatin1(name));
}

QStringList shown()
{
    return {box("ccode_0")->text(), box("ccode_1")->text(), box("Text1")->text()};
}

QColor nameColour()
{
    return box("Text1")->palette().color(QPalette::Base);
}
} // namespace

class TestKeyscan : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        popup("Util_keyscan");
        QVERIFY(window().isLoaded());
        giveFocus(box("ccode_1"));
    }
    void cleanup() { window().unload(); }

    void names()
    {
        const std::map<int, QString> table = {{8, "Bksp"},  {9, "Tab"},  {13, "Rtn"}, {20, "Caps"}, {27, "Esc"},
                                              {33, "PgUp"}, {34, "PgDn"}, {35, "End"}, {36, "Home"}, {37, "Lt"},
                                              {38, "Up"},   {39, "Rt"},  {40, "Dn"},  {45, "Ins"},  {46, "Del"}};
        for (int code = 0; code < 256; ++code) {
            QString want;
            if (auto it = table.find(code); it != table.end())
                want = it->second;
            else if (code >= 112 && code <= 123)
                want = "F" + QString::number(code - 111);
            QCOMPARE(keyName(code), want);
        }
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("boxes");
        auto row = [](const char* name, Qt::Key key, Qt::KeyboardModifiers mods, QStringList boxes) {
            QTest::newRow(name) << int(key) << int(mods) << boxes;
        };
        row("F5", Qt::Key_F5, {}, {"0", "116", "F5"});
        row("Shift+F5", Qt::Key_F5, Qt::ShiftModifier, {"1", "116", ""});
        row("Ctrl+Alt+Home", Qt::Key_Home, Qt::ControlModifier | Qt::AltModifier, {"6", "36", ""});
        row("Shift alone", Qt::Key_Shift, {}, {"1", "16", ""});
        row("Ctrl alone", Qt::Key_Control, {}, {"2", "17", ""});
        row("Alt alone", Qt::Key_Alt, {}, {"4", "18", ""});
        row("Shift held, then Ctrl", Qt::Key_Control, Qt::ShiftModifier, {"3", "17", ""});
        row("Left", Qt::Key_Left, {}, {"0", "37", "Lt"});
        row("Up", Qt::Key_Up, {}, {"0", "38", "Up"});
        row("Right", Qt::Key_Right, {}, {"0", "39", "Rt"});
        row("Down", Qt::Key_Down, {}, {"0", "40", "Dn"});
        row("PgUp", Qt::Key_PageUp, {}, {"0", "33", "PgUp"});
        row("PgDn", Qt::Key_PageDown, {}, {"0", "34", "PgDn"});
        row("End", Qt::Key_End, {}, {"0", "35", "End"});
        row("Home", Qt::Key_Home, {}, {"0", "36", "Home"});
        row("Ins", Qt::Key_Insert, {}, {"0", "45", "Ins"});
        row("Del", Qt::Key_Delete, {}, {"0", "46", "Del"});
        row("Tab", Qt::Key_Tab, {}, {"0", "9", "Tab"});
        row("Enter", Qt::Key_Return, {}, {"0", "13", "Rtn"});
        row("Backspace", Qt::Key_Backspace, {}, {"0", "8", "Bksp"});
        row("Esc", Qt::Key_Escape, {}, {"0", "27", "Esc"});
        row("Caps", Qt::Key_CapsLock, {}, {"0", "20", "Caps"});
        row("F1", Qt::Key_F1, {}, {"0", "112", "F1"});
        row("F12", Qt::Key_F12, {}, {"0", "123", "F12"});
        row("letter", Qt::Key_Q, {}, {"0", "81", ""});
        row("digit", Qt::Key_7, {}, {"0", "55", ""});
    }
    // Typed at the focused box: the boxes show the key, the box keeps its
    // text and the focus stays where it was.
    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QLineEdit* focused = box("ccode_1");
        QVERIFY(focused->hasFocus());
        QTest::keyPress(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTEST(shown(), "boxes");
        QCOMPARE(nameColour(), QColor(Qt::white));
        QTest::keyRelease(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(nameColour(), QColor(Qt::red));
        QTEST(shown(), "boxes");
        QVERIFY(focused->hasFocus());
        QCOMPARE(QApplication::focusWidget(), focused);
    }

    // Held keys repeat the key-down; their repeated releases change nothing,
    // so the name box stays white until the key is let go.
    void autoRepeat()
    {
        QLineEdit* focused = box("ccode_1");
        QTest::keyPress(focused, Qt::Key_F5);
        QTest::keyPress(focused, Qt::Key_Left);
        QCOMPARE(shown(), QStringList({"0", "37", "Lt"}));
        for (int i = 0; i < 3; ++i) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(focused, &release);
            QCOMPARE(nameColour(), QColor(Qt::white));
            box("Text1")->clear();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(focused, &press);
            QCOMPARE(shown(), QStringList({"0", "37", "Lt"}));
        }
        QTest::keyRelease(focused, Qt::Key_Left);
        QCOMPARE(nameColour(), QColor(Qt::red));
    }

    // Typing never edits a box, wherever the focus is.
    void keysAreSwallowed()
    {
        for (const char* name : {"ccode_0", "ccode_1", "Text1"}) {
            QLineEdit* b = box(name);
            giveFocus(b);
            QTest::keyClicks(b, "ab");
            QTest::keyClick(b, Qt::Key_Backspace);
            QTest::keyClick(b, Qt::Key_Tab);
            QTest::keyClick(b, Qt::Key_Backtab, Qt::ShiftModifier);
            QVERIFY(b->hasFocus());
        }
        QCOMPARE(box("ccode_0")->text(), QStringLiteral("1"));
        QCOMPARE(box("ccode_1")->text(), QStringLiteral("9"));
        QCOMPARE(box("Text1")->text(), QString());
    }
};

VOLTARIS_TEST(TestKeyscan);
#include "test_keyscan.moc"
