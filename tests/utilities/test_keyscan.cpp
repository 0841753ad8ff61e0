#include "support/testmain.h"
#include "support/typing.h"

#include "utilities/keynames.h"
#include "utilities/util_keyscan.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <map>
#include <set>

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

// One key of a keyboard as X reports it: the key code (physical key) and
// the keysym the layout gives it without modifiers.
struct NativeKey {
    quint32 scan;
    quint32 sym;
    const char* label;
};

// The keys every layout shares (X key code, keysym).
const std::vector<NativeKey> sharedKeys = {
    {9, 0xff1b, "Esc"},         {67, 0xffbe, "F1"},        {68, 0xffbf, "F2"},       {69, 0xffc0, "F3"},
    {70, 0xffc1, "F4"},         {71, 0xffc2, "F5"},        {72, 0xffc3, "F6"},       {73, 0xffc4, "F7"},
    {74, 0xffc5, "F8"},         {75, 0xffc6, "F9"},        {76, 0xffc7, "F10"},      {95, 0xffc8, "F11"},
    {96, 0xffc9, "F12"},        {107, 0xff61, "Print"},    {78, 0xff14, "Scroll"},   {127, 0xff13, "Pause"},
    {118, 0xff63, "Insert"},    {110, 0xff50, "Home"},     {112, 0xff55, "PgUp"},    {119, 0xffff, "Delete"},
    {115, 0xff57, "End"},       {117, 0xff56, "PgDn"},     {111, 0xff52, "Up"},      {113, 0xff51, "Left"},
    {116, 0xff54, "Down"},      {114, 0xff53, "Right"},    {77, 0xff7f, "NumLock"},  {106, 0xffaf, "KP/"},
    {63, 0xffaa, "KP*"},        {82, 0xffad, "KP-"},       {86, 0xffab, "KP+"},      {104, 0xff8d, "KPEnter"},
    {79, 0xffb7, "KP7"},        {80, 0xffb8, "KP8"},       {81, 0xffb9, "KP9"},      {83, 0xffb4, "KP4"},
    {84, 0xffb5, "KP5"},        {85, 0xffb6, "KP6"},       {87, 0xffb1, "KP1"},      {88, 0xffb2, "KP2"},
    {89, 0xffb3, "KP3"},        {90, 0xffb0, "KP0"},       {91, 0xffae, "KP."},      {22, 0xff08, "Backspace"},
    {23, 0xff09, "Tab"},        {66, 0xffe5, "Caps"},      {36, 0xff0d, "Enter"},    {50, 0xffe1, "ShiftL"},
    {62, 0xffe2, "ShiftR"},     {37, 0xffe3, "CtrlL"},     {105, 0xffe4, "CtrlR"},   {133, 0xffeb, "WinL"},
    {134, 0xffec, "WinR"},      {64, 0xffe9, "AltL"},      {135, 0xff67, "Apps"},    {65, ' ', "Space"},
};

// The typing block of a layout: the US keys with the layout's changes.
std::vector<NativeKey> typingBlock(const std::map<quint32, quint32>& changes, quint32 rightAlt)
{
    std::vector<NativeKey> keys;
    auto add = [&](quint32 scan, quint32 sym) {
        auto it = changes.find(scan);
        keys.push_back({scan, it == changes.end() ? sym : it->second, "typing"});
    };
    const char* rows[] = {"1234567890", "qwertyuiop", "asdfghjkl", "zxcvbnm"};
    const quint32 first[] = {10, 24, 38, 52};
    for (int r = 0; r < 4; ++r)
        for (int i = 0; rows[r][i]; ++i)
            add(first[r] + quint32(i), quint32(rows[r][i]));
    const std::pair<quint32, char> punctuation[] = {{49, '`'},  {20, '-'}, {21, '='}, {34, '['}, {35, ']'}, {51, '\\'},
                                                    {47, ';'},  {48, '\''}, {59, ','}, {60, '.'}, {61, '/'}, {94, '<'}};
    for (auto [scan, ch] : punctuation)
        add(scan, quint32(ch));
    keys.push_back({108, rightAlt, "AltR"});
    return keys;
}

const std::map<QString, std::vector<NativeKey>>& layouts()
{
    static const std::map<QString, std::vector<NativeKey>> all = {
        {"US", typingBlock({}, 0xffea)},
        {"UK", typingBlock({{49, '`'}, {48, '\''}, {51, '#'}, {94, '\\'}}, 0xfe03)},
        {"German",
         typingBlock({{49, 0xfe52}, {20, 0xdf}, {21, 0xfe51}, {29, 'z'}, {52, 'y'}, {34, 0xfc}, {35, '+'},
                      {47, 0xf6}, {48, 0xe4}, {51, '#'}, {61, '-'}},
                     0xfe03)},
        {"French",
         typingBlock({{10, '&'}, {11, 0xe9}, {12, '"'}, {13, '\''}, {14, '('}, {15, '-'}, {16, 0xe8}, {17, '_'},
                      {18, 0xe7}, {19, 0xe0}, {20, ')'}, {24, 'a'}, {25, 'z'}, {34, 0xfe52}, {35, '$'},
                      {38, 'q'}, {47, 'm'}, {48, 0xf9}, {49, 0xb2}, {51, '*'}, {52, 'w'}, {58, ','},
                      {59, ';'}, {60, ':'}, {61, '!'}},
                     0xfe03)},
    };
    return all;
}

// Presses and releases a key at the focused box as X delivers it.
void pressNative(QWidget* target, quint32 scan, quint32 sym, Qt::KeyboardModifiers mods = {})
{
    const QString text = sym >= 0x20 && sym < 0x100 ? QString(QChar(char16_t(sym))) : QString();
    const int key = sym >= 'a' && sym <= 'z' ? int(sym - 'a' + 'A') : sym < 0x100 ? int(sym) : int(Qt::Key_unknown);
    QKeyEvent press(QEvent::KeyPress, key, mods, scan, sym, 0, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, scan, sym, 0, text);
    QApplication::sendEvent(target, &release);
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


    // Every key of each layout, as X reports it, shows a code of its own;
    // only the keys the platform's table itself gives one code share it.
    void layoutCodesAreDistinct_data()
    {
        QTest::addColumn<QString>("layout");
        for (const auto& [name, keys] : layouts())
            QTest::newRow(qPrintable(name)) << name;
    }
    void layoutCodesAreDistinct()
    {
        QFETCH(QString, layout);
        const std::set<std::set<QString>> shared = {
            {"ShiftL", "ShiftR"}, {"CtrlL", "CtrlR"}, {"AltL", "AltR"}, {"Enter", "KPEnter"}};
        std::vector<NativeKey> keys = sharedKeys;
        const auto& block = layouts().at(layout);
        keys.insert(keys.end(), block.begin(), block.end());
        std::map<QString, std::set<QString>> byCode;
        for (const NativeKey& k : keys) {
            pressNative(box("ccode_1"), k.scan, k.sym);
            const QString code = box("ccode_1")->text();
            bool ok = false;
            const int value = code.toInt(&ok);
            QVERIFY2(ok && value > 0 && value < 256, qPrintable(QString("%1 %2 shows %3").arg(k.scan).arg(k.label, code)));
            byCode[code].insert(QString("%1:%2").arg(k.label).arg(k.scan));
        }
        for (const auto& [code, names] : byCode) {
            if (names.size() == 1)
                continue;
            std::set<QString> labels;
            for (const QString& n : names)
                labels.insert(n.section(':', 0, 0));
            QVERIFY2(shared.count(labels), qPrintable(code + " shared by " + QStringList(names.begin(), names.end()).join(' ')));
        }
    }

    // Keys whose codes the platform's table fixes, on the layouts where the
    // Qt key alone misleads.
    void nativeCodes_data()
    {
        QTest::addColumn<uint>("scan");
        QTest::addColumn<uint>("sym");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("boxes");
        auto row = [](const char* name, uint scan, uint sym, Qt::KeyboardModifiers mods, QStringList boxes) {
            QTest::newRow(name) << scan << sym << int(mods) << boxes;
        };
        row("keypad 5", 84, 0xffb5, {}, {"0", "101", ""});
        row("keypad 0", 90, 0xffb0, {}, {"0", "96", ""});
        row("keypad 1, Num Lock off", 87, 0xff9c, {}, {"0", "35", "End"});
        row("keypad /", 106, 0xffaf, {}, {"0", "111", ""});
        row("keypad point, German", 91, 0xffac, {}, {"0", "110", ""});
        row("keypad Enter", 104, 0xff8d, {}, {"0", "13", "Rtn"});
        row("Num Lock", 77, 0xff7f, {}, {"0", "144", ""});
        row("Scroll Lock", 78, 0xff14, {}, {"0", "145", ""});
        row("Print", 107, 0xff61, {}, {"0", "44", ""});
        row("Windows key", 133, 0xffeb, {}, {"0", "91", ""});
        row("Apps", 135, 0xff67, {}, {"0", "93", ""});
        row("apostrophe, US", 48, '\'', {}, {"0", "222", ""});
        row("double quote, US", 48, '"', Qt::ShiftModifier, {"1", "222", ""});
        row("semicolon, US", 47, ';', {}, {"0", "186", ""});
        row("slash, US", 61, '/', {}, {"0", "191", ""});
        row("bracket, US", 34, '[', {}, {"0", "219", ""});
        row("102nd key", 94, '<', {}, {"0", "226", ""});
        row("hash, UK", 51, '#', {}, {"0", "223", ""});
        row("u umlaut, German", 34, 0xfc, {}, {"0", "186", ""});
        row("minus, German", 61, '-', {}, {"0", "189", ""});
        row("underscore, German", 61, '_', Qt::ShiftModifier, {"1", "189", ""});
        row("Z, German", 29, 'z', {}, {"0", "90", ""});
        row("ampersand, French", 10, '&', {}, {"0", "49", ""});
        row("1 with Shift, French", 10, '1', Qt::ShiftModifier, {"1", "49", ""});
        row("dollar, French", 35, '$', {}, {"0", "186", ""});
        row("comma, French", 58, ',', {}, {"0", "188", ""});
        row("semicolon, French", 59, ';', {}, {"0", "190", ""});
        row("exclamation, French", 61, '!', {}, {"0", "223", ""});
        row("A, French", 24, 'a', {}, {"0", "65", ""});
        row("Cyrillic letter", 38, 0x6c6, {}, {"0", "65", ""});
        row("AltGr", 108, 0xfe03, {}, {"4", "18", ""});
        row("right Ctrl", 105, 0xffe4, {}, {"2", "17", ""});
    }
    void nativeCodes()
    {
        QFETCH(uint, scan);
        QFETCH(uint, sym);
        QFETCH(int, modifiers);
        pressNative(box("ccode_1"), scan, sym, Qt::KeyboardModifiers(modifiers));
        QTEST(shown(), "boxes");
    }

    // A key the table has no code for shows one no other key shows, and no
    // name; two such keys differ.
    void unlistedKeys()
    {
        pressNative(box("ccode_1"), 191, 0x1008ff81); // a launcher key
        const QString first = box("ccode_1")->text();
        QVERIFY(first.toInt() > 255);
        QCOMPARE(box("Text1")->text(), QString());
        pressNative(box("ccode_1"), 192, 0x1008ff45);
        QVERIFY(box("ccode_1")->text().toInt() > 255);
        QVERIFY(box("ccode_1")->text() != first);
        QTest::keyClick(box("ccode_1"), Qt::Key_LaunchF);
        QVERIFY(box("ccode_1")->text().toInt() > 255);
    }

    // Random native codes and modifiers: the window keeps showing numbers.
    void randomNativeKeys()
    {
        QRandomGenerator rng(4511);
        for (int i = 0; i < 3000; ++i) {
            const quint32 scan = rng.bounded(2) ? rng.bounded(300u) : rng.generate();
            const quint32 sym = rng.bounded(2) ? 0xff00u + rng.bounded(256u) : rng.generate();
            const auto mods = Qt::KeyboardModifiers(int(rng.generate()) & int(Qt::KeyboardModifierMask));
            QKeyEvent press(QEvent::KeyPress, int(rng.generate()), mods, scan, sym, rng.generate(),
                            rng.bounded(2) ? QString(QChar(char16_t(rng.bounded(0x10000u)))) : QString());
            QApplication::sendEvent(box("ccode_1"), &press);
            bool ok = false;
            box("ccode_1")->text().toInt(&ok);
            QVERIFY(ok);
        }
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
