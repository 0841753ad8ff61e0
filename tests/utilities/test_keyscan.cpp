#include "support/alertsink.h"
#include "support/testmain.h"
#include "support/typing.h"

#include "common/keycodes.h"
#include "utilities/keynames.h"
#include "utilities/util_keyscan.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

#include <xkbcommon/xkbcommon.h>

#include <map>
#include <memory>
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

// A keymap from the system's keyboard data, as the X server would build it
// for a user of that layout, and the key events its keys produce.
class SystemKeymap {
public:
    SystemKeymap(const QByteArray& layout, const QByteArray& variant)
        : ctx_(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES), xkb_context_unref), map_(nullptr, xkb_keymap_unref)
    {
        const xkb_rule_names names{"evdev", "pc105", layout.constData(), variant.constData(), nullptr};
        if (ctx_)
            map_.reset(xkb_keymap_new_from_names(ctx_.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    }
    bool valid() const { return bool(map_); }
    // The first-level keysym of a key.
    quint32 base(quint32 scan) const
    {
        const xkb_keysym_t* syms = nullptr;
        return xkb_keymap_key_get_syms_by_level(map_.get(), scan, 0, 0, &syms) > 0 ? syms[0] : 0;
    }
    // Presses a key with the modifier keys held (0 for none) at a widget, as
    // the platform reports it: X key code, keysym, X state and Qt modifiers.
    void press(QWidget* target, quint32 scan, quint32 modifierKey) const
    {
        std::unique_ptr<xkb_state, void (*)(xkb_state*)> state(xkb_state_new(map_.get()), xkb_state_unref);
        if (modifierKey)
            xkb_state_update_key(state.get(), modifierKey, XKB_KEY_DOWN);
        const quint32 sym = xkb_state_key_get_one_sym(state.get(), scan);
        const quint32 x11State = xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_EFFECTIVE)
                                 | xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_EFFECTIVE) << 13;
        Qt::KeyboardModifiers mods;
        if (xkb_state_mod_name_is_active(state.get(), XKB_MOD_NAME_SHIFT, XKB_STATE_MODS_EFFECTIVE) > 0)
            mods |= Qt::ShiftModifier;
        if (xkb_state_mod_name_is_active(state.get(), XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) > 0)
            mods |= Qt::AltModifier;
        if (xkb_state_mod_name_is_active(state.get(), "Mod5", XKB_STATE_MODS_EFFECTIVE) > 0)
            mods |= Qt::GroupSwitchModifier;
        const char32_t ch = xkb_keysym_to_utf32(sym);
        const QString text = ch >= 0x20 ? QString::fromUcs4(&ch, 1) : QString();
        const int key = text.isEmpty() ? int(Qt::Key_unknown) : int(text.toUpper().at(0).unicode());
        QKeyEvent down(QEvent::KeyPress, key, mods, scan, sym, x11State, text);
        QApplication::sendEvent(target, &down);
        QKeyEvent up(QEvent::KeyRelease, key, mods, scan, sym, x11State, text);
        QApplication::sendEvent(target, &up);
    }

private:
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> ctx_;
    std::unique_ptr<xkb_keymap, void (*)(xkb_keymap*)> map_;
};

// Makes a layout the system's (the XKB defaults, which the program reads
// when it runs without an X server) and has the program read it.
void useLayout(const QByteArray& layout, const QByteArray& variant)
{
    qputenv("XKB_DEFAULT_RULES", "evdev");
    qputenv("XKB_DEFAULT_MODEL", "pc105");
    qputenv("XKB_DEFAULT_LAYOUT", layout);
    qputenv("XKB_DEFAULT_VARIANT", variant);
    keyboardLayoutChanged();
}

// X key codes of the typing keys: digits, letters, punctuation, space and
// the key beside the left Shift.
std::vector<quint32> typingKeys()
{
    std::vector<quint32> keys;
    for (quint32 scan = 10; scan <= 61; ++scan)
        if (scan != 22 && scan != 23 && scan != 36 && scan != 37 && scan != 50)
            keys.push_back(scan);
    keys.push_back(65);
    keys.push_back(94);
    return keys;
}

constexpr quint32 shiftKey = 50, rightAltKey = 108;

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
    void initTestCase()
    {
        for (const char* name : xkbDefaults)
            saved_.push_back(qgetenv(name));
        useLayout("us", "");
    }
    void cleanupTestCase()
    {
        for (size_t i = 0; i < std::size(xkbDefaults); ++i)
            if (saved_[i].isNull())
                qunsetenv(xkbDefaults[i]);
            else
                qputenv(xkbDefaults[i], saved_[i]);
        keyboardLayoutChanged();
    }
    void init()
    {
        m_alerts = std::make_unique<AlertSink>();
        popup("Util_keyscan");
        QVERIFY(window().isLoaded());
        giveFocus(box("ccode_1"));
    }
    void cleanup()
    {
        window().unload();
        // A fault that raises an alert fails here at once, its alert
        // answered, instead of leaving it open for the runner to close.
        const QStringList titles = m_alerts->titles, texts = m_alerts->texts;
        m_alerts.reset();
        QVERIFY2(titles.isEmpty(), qPrintable("unexpected alert: " + titles.join(" / ") + ": " + texts.join(" / ")));
    }

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


    // Each typing key of a layout shows one code, whether pressed plain,
    // with Shift or with AltGr; no two keys of the layout show one code
    // except the pairs the platform's numbering joins. Layouts the tables
    // know give classic codes; others may give codes above 255.
    void layoutCodes_data()
    {
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<QByteArray>("variant");
        QTest::addColumn<bool>("known");
        QTest::newRow("us") << QByteArray("us") << QByteArray() << true;
        QTest::newRow("gb") << QByteArray("gb") << QByteArray() << true;
        QTest::newRow("de") << QByteArray("de") << QByteArray() << true;
        QTest::newRow("fr") << QByteArray("fr") << QByteArray() << true;
        QTest::newRow("de nodeadkeys") << QByteArray("de") << QByteArray("nodeadkeys") << true;
        QTest::newRow("fr nodeadkeys") << QByteArray("fr") << QByteArray("nodeadkeys") << true;
        QTest::newRow("ru") << QByteArray("ru") << QByteArray() << false;
        QTest::newRow("fr bepo") << QByteArray("fr") << QByteArray("bepo") << false;
        QTest::newRow("us dvorak") << QByteArray("us") << QByteArray("dvorak") << false;
    }
    void layoutCodes()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QByteArray, variant);
        QFETCH(bool, known);
        const SystemKeymap keymap(layout, variant);
        QVERIFY2(keymap.valid(), "the system's keyboard data (xkb-data) is missing");
        useLayout(layout, variant);
        QLineEdit* target = box("ccode_1");
        auto codeOf = [&](quint32 scan, quint32 modifierKey) {
            keymap.press(target, scan, modifierKey);
            return target->text();
        };
        std::map<QString, std::set<quint32>> byCode;
        for (quint32 scan : typingKeys()) {
            const QString plain = codeOf(scan, 0);
            QCOMPARE(codeOf(scan, shiftKey), plain);
            QCOMPARE(codeOf(scan, rightAltKey), plain);
            const int value = plain.toInt();
            QVERIFY2(value > 0 && (value < 256 || !known), qPrintable(QString("key %1 shows %2").arg(scan).arg(plain)));
            byCode[plain].insert(scan);
        }
        // Left and right Shift, Ctrl and Alt (AltGr), the two Enter keys,
        // Delete and the keypad's (Num Lock off).
        const std::set<std::set<quint32>> shared = {{50, 62}, {37, 105}, {64, 108}, {36, 104}, {119, 91}};
        for (const auto& pair : shared)
            for (quint32 scan : pair)
                byCode[codeOf(scan, 0)].insert(scan);
        for (const auto& [code, keys] : byCode) {
            QStringList names;
            for (quint32 k : keys)
                names << QString::number(k);
            QVERIFY2(keys.size() == 1 || shared.count(keys), qPrintable(code + " shown by keys " + names.join(' ')));
        }
    }

    // The codes of keys that moved with Shift or AltGr, or that two keys
    // shared, on the layouts where they did.
    void layoutKeyCodes_data()
    {
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<QByteArray>("variant");
        QTest::addColumn<uint>("scan");
        QTest::addColumn<int>("code");
        auto row = [](const char* name, const char* layout, const char* variant, uint scan, int code) {
            QTest::newRow(name) << QByteArray(layout) << QByteArray(variant) << scan << code;
        };
        row("fr, key left of 1", "fr", "", 49, 222);
        row("fr, u grave", "fr", "", 48, 192);
        row("de, acute", "de", "", 21, 221);
        row("de, circumflex", "de", "", 49, 220);
        row("de, plus", "de", "", 35, 187);
        row("fr, Q", "fr", "", 38, 81);
        row("fr, A", "fr", "", 24, 65);
        row("fr, M", "fr", "", 47, 77);
        row("fr, comma", "fr", "", 58, 188);
        row("fr, 1", "fr", "", 10, 49);
        row("gb, [", "gb", "", 34, 219);
        row("gb, ]", "gb", "", 35, 221);
        row("gb, hash", "gb", "", 51, 223);
        row("de, Z", "de", "", 29, 90);
        row("de, Y", "de", "", 52, 89);
        row("de, o umlaut", "de", "", 47, 192);
        row("us, apostrophe", "us", "", 48, 222);
        row("us, 102nd key", "us", "", 94, 226);
        row("de nodeadkeys, ^", "de", "nodeadkeys", 49, 220);
        row("de nodeadkeys, o umlaut", "de", "nodeadkeys", 47, 192);
        row("de nodeadkeys, acute", "de", "nodeadkeys", 21, 221);
        row("de nodeadkeys, plus", "de", "nodeadkeys", 35, 187);
        row("fr nodeadkeys, ^", "fr", "nodeadkeys", 34, 221);
        row("fr nodeadkeys, )", "fr", "nodeadkeys", 20, 219);
        row("ru, Cyrillic ef", "ru", "", 38, 65);
    }
    void layoutKeyCodes()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QByteArray, variant);
        QFETCH(uint, scan);
        QFETCH(int, code);
        const SystemKeymap keymap(layout, variant);
        QVERIFY2(keymap.valid(), "the system's keyboard data (xkb-data) is missing");
        useLayout(layout, variant);
        for (quint32 modifierKey : {0u, shiftKey, rightAltKey}) {
            keymap.press(box("ccode_1"), scan, modifierKey);
            QCOMPARE(box("ccode_1")->text(), QString::number(code));
        }
    }

    // Keys whose codes the platform's table fixes, on the layouts where the
    // Qt key alone misleads.
    void nativeCodes_data()
    {
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<uint>("scan");
        QTest::addColumn<uint>("sym");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QStringList>("boxes");
        auto row = [](const char* name, const char* layout, uint scan, uint sym, Qt::KeyboardModifiers mods,
                      QStringList boxes) {
            QTest::newRow(name) << QByteArray(layout) << scan << sym << int(mods) << boxes;
        };
        row("keypad 5", "us", 84, 0xffb5, {}, {"0", "101", ""});
        row("keypad 0", "us", 90, 0xffb0, {}, {"0", "96", ""});
        row("keypad 7, Num Lock on", "de", 79, 0xffb7, {}, {"0", "103", ""});
        row("keypad 7, Num Lock off", "de", 79, 0xff95, {}, {"0", "36", "Home"});
        row("keypad 1, Num Lock off", "us", 87, 0xff9c, {}, {"0", "35", "End"});
        row("keypad /", "us", 106, 0xffaf, {}, {"0", "111", ""});
        row("keypad point, German", "de", 91, 0xffac, {}, {"0", "110", ""});
        row("keypad Enter", "us", 104, 0xff8d, {}, {"0", "13", "Rtn"});
        row("Pause", "fr", 127, 0xff13, {}, {"0", "19", ""});
        row("Ctrl+Pause", "fr", 127, 0xff6b, Qt::ControlModifier, {"2", "3", ""});
        row("Ctrl+Alt+F1", "us", 67, 0x1008fe01, Qt::ControlModifier | Qt::AltModifier, {"6", "112", ""});
        row("Num Lock", "us", 77, 0xff7f, {}, {"0", "144", ""});
        row("Scroll Lock", "us", 78, 0xff14, {}, {"0", "145", ""});
        row("Print", "us", 107, 0xff61, {}, {"0", "44", ""});
        row("Windows key", "us", 133, 0xffeb, {}, {"0", "91", ""});
        row("Apps", "us", 135, 0xff67, {}, {"0", "93", ""});
        row("apostrophe, US", "us", 48, '\'', {}, {"0", "222", ""});
        row("double quote, US", "us", 48, '"', Qt::ShiftModifier, {"1", "222", ""});
        row("semicolon, US", "us", 47, ';', {}, {"0", "186", ""});
        row("slash, US", "us", 61, '/', {}, {"0", "191", ""});
        row("bracket, US", "us", 34, '[', {}, {"0", "219", ""});
        row("102nd key", "us", 94, '<', {}, {"0", "226", ""});
        row("hash, UK", "gb", 51, '#', {}, {"0", "223", ""});
        row("u umlaut, German", "de", 34, 0xfc, {}, {"0", "186", ""});
        row("minus, German", "de", 61, '-', {}, {"0", "189", ""});
        row("underscore, German", "de", 61, '_', Qt::ShiftModifier, {"1", "189", ""});
        row("Z, German", "de", 29, 'z', {}, {"0", "90", ""});
        row("ampersand, French", "fr", 10, '&', {}, {"0", "49", ""});
        row("1 with Shift, French", "fr", 10, '1', Qt::ShiftModifier, {"1", "49", ""});
        row("dollar, French", "fr", 35, '$', {}, {"0", "186", ""});
        row("comma, French", "fr", 58, ',', {}, {"0", "188", ""});
        row("semicolon, French", "fr", 59, ';', {}, {"0", "190", ""});
        row("exclamation, French", "fr", 61, '!', {}, {"0", "223", ""});
        row("A, French", "fr", 24, 'a', {}, {"0", "65", ""});
        row("u grave with Caps Lock, French", "fr", 48, 0xd9, {}, {"0", "192", ""});
        row("Cyrillic letter", "ru", 38, 0x6c6, {}, {"0", "65", ""});
        row("Cyrillic letter, US keymap", "us", 38, 0x6c6, {}, {"0", "65", ""});
        row("German key, US keymap", "us", 29, 'z', {}, {"0", "90", ""});
        row("AltGr", "de", 108, 0xfe03, {}, {"4", "18", ""});
        row("right Ctrl", "us", 105, 0xffe4, {}, {"2", "17", ""});
    }
    void nativeCodes()
    {
        QFETCH(QByteArray, layout);
        QFETCH(uint, scan);
        QFETCH(uint, sym);
        QFETCH(int, modifiers);
        useLayout(layout, QByteArray());
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

    // No box takes the input method's text: the platform hands every dead
    // key and compose key over as a key. Text an input method sends all the
    // same edits nothing.
    void inputMethodText()
    {
        QTest::keyClick(box("ccode_1"), Qt::Key_F5);
        const QStringList before = shown();
        for (const char* name : {"ccode_0", "ccode_1", "Text1"}) {
            QLineEdit* b = box(name);
            QVERIFY2(!takesInputMethodText(b), name);
            commitInputText(b, "^", QStringLiteral("\u00EA"));
            commitInputText(b, QString(), QStringLiteral("\u00B4"));
            QCOMPARE(shown(), before);
            QVERIFY(b->hasFocus());
        }
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

private:
    static constexpr const char* xkbDefaults[] = {"XKB_DEFAULT_RULES", "XKB_DEFAULT_MODEL", "XKB_DEFAULT_LAYOUT",
                                                  "XKB_DEFAULT_VARIANT"};
    std::vector<QByteArray> saved_;
    std::unique_ptr<AlertSink> m_alerts;
};

VOLTARIS_TEST(TestKeyscan);
#include "test_keyscan.moc"
