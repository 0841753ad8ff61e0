#include "keycodes.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include <xkbcommon/xkbcommon.h>
#if QT_CONFIG(xcb)
#include <xkbcommon/xkbcommon-x11.h>
#endif

#include <memory>
#include <vector>

namespace {

// X keysyms of the keys that do not type a character.
int keysymCode(quint32 sym)
{
    if (sym >= 0xffbe && sym <= 0xffd5) // F1-F24
        return 112 + int(sym - 0xffbe);
    if (sym >= 0xffb0 && sym <= 0xffb9) // keypad digits, Num Lock on
        return 96 + int(sym - 0xffb0);
    switch (sym) {
    case 0xff08: return 8;   // BackSpace
    case 0xff09:             // Tab
    case 0xfe20: return 9;   // ISO_Left_Tab (Shift+Tab)
    case 0xff0b:             // Clear
    case 0xff58:             // Begin
    case 0xff9d: return 12;  // KP_Begin (keypad 5, Num Lock off)
    case 0xff0d:             // Return
    case 0xff8d: return 13;  // KP_Enter: the platform gives both keys 13
    case 0xff13: return 19;  // Pause
    case 0xff6b:             // Break (Ctrl+Pause)
    case 0xff69: return 3;   // Cancel
    case 0xff14: return 145; // Scroll_Lock
    case 0xff61:             // Print
    case 0xff15: return 44;  // Sys_Req (Alt+Print)
    case 0xff1b: return 27;  // Escape
    case 0xffff:             // Delete
    case 0xff9f: return 46;  // KP_Delete
    case 0xff50:
    case 0xff95: return 36;  // Home, KP_Home
    case 0xff51:
    case 0xff96: return 37;  // Left
    case 0xff52:
    case 0xff97: return 38;  // Up
    case 0xff53:
    case 0xff98: return 39;  // Right
    case 0xff54:
    case 0xff99: return 40;  // Down
    case 0xff55:
    case 0xff9a: return 33;  // Prior
    case 0xff56:
    case 0xff9b: return 34;  // Next
    case 0xff57:
    case 0xff9c: return 35;  // End
    case 0xff63:
    case 0xff9e: return 45;  // Insert
    case 0xff60: return 41;  // Select
    case 0xff62: return 43;  // Execute
    case 0xff6a: return 47;  // Help
    case 0xff67: return 93;  // Menu (Apps)
    case 0xff7f: return 144; // Num_Lock
    case 0xffaa: return 106; // KP_Multiply
    case 0xffab: return 107; // KP_Add
    case 0xffad: return 109; // KP_Subtract
    case 0xffae:             // KP_Decimal
    case 0xffac: return 110; // KP_Separator: the keypad point on comma layouts
    case 0xffaf: return 111; // KP_Divide
    case 0xffe1:
    case 0xffe2: return 16;  // Shift_L, Shift_R
    case 0xffe3:
    case 0xffe4: return 17;  // Control_L, Control_R
    case 0xffe9:
    case 0xffea:             // Alt_L, Alt_R
    case 0xffe7:
    case 0xffe8:             // Meta_L, Meta_R (Shift+Alt)
    case 0xfe03: return 18;  // ISO_Level3_Shift (AltGr)
    case 0xffe5:
    case 0xffe6: return 20;  // Caps_Lock, Shift_Lock
    case 0xffeb:
    case 0xffed: return 91;  // Super_L, Hyper_L (left Windows key)
    case 0xffec:
    case 0xffee: return 92;  // Super_R, Hyper_R
    case 0x1008ff2f: return 95;  // Sleep
    case 0x1008ff26: return 166; // Back
    case 0x1008ff27: return 167; // Forward
    case 0x1008ff29: return 168; // Refresh
    case 0x1008ff28: return 169; // Stop
    case 0x1008ff1b: return 170; // Search
    case 0x1008ff30: return 171; // Favorites
    case 0x1008ff18: return 172; // HomePage
    case 0x1008ff12: return 173; // AudioMute
    case 0x1008ff11: return 174; // AudioLowerVolume
    case 0x1008ff13: return 175; // AudioRaiseVolume
    case 0x1008ff17: return 176; // AudioNext
    case 0x1008ff16: return 177; // AudioPrev
    case 0x1008ff15: return 178; // AudioStop
    case 0x1008ff14: return 179; // AudioPlay
    case 0x1008ff19: return 180; // Mail
    case 0x1008ff32: return 181; // AudioMedia
    case 0x1008ff33: return 182; // MyComputer
    case 0x1008ff1d: return 183; // Calculator
    default: return 0;
    }
}

// X dead-key keysyms the punctuation table below needs.
constexpr quint32 deadGrave = 0xfe50, deadAcute = 0xfe51, deadCircumflex = 0xfe52, deadDiaeresis = 0xfe57;

// The punctuation keys: X key code, the code, and the keysyms the key gives
// without Shift, with Shift and with AltGr in one of the US, UK, German and
// French layouts (dead keys and their variants without them), in that
// order. A key's code follows its first keysym; where two layouts give the
// same keysym on one key with different codes (' and ` on US and UK, # on
// UK and German) the key takes one code that no other key of either layout
// has, so no two keys of one layout share a code.
struct PunctuationKey {
    quint32 scan;
    int code;
    quint32 sym[3];
};
constexpr PunctuationKey punctuationKeys[] = {
    // US
    {49, 192, {'`', '~', 0}},
    {20, 189, {'-', '_', 0}},
    {21, 187, {'=', '+', 0}},
    {34, 219, {'[', '{', 0}},
    {35, 221, {']', '}', 0}},
    {51, 220, {'\\', '|', 0}},
    {47, 186, {';', ':', 0}},
    {48, 222, {'\'', '"', 0}},
    {59, 188, {',', '<', 0}},
    {60, 190, {'.', '>', 0}},
    {61, 191, {'/', '?', 0}},
    {94, 226, {'\\', '|', 0}},
    {94, 226, {'<', '>', '|'}},
    // UK
    {49, 192, {'`', 0xac, '|'}},
    {48, 222, {'\'', '@', 0}},
    {51, 223, {'#', '~', 0}},
    // German
    {49, 220, {deadCircumflex, 0xb0, 0}},
    {49, 220, {'^', 0xb0, 0}},
    {20, 219, {0xdf, '?', '\\'}},
    {21, 221, {deadAcute, deadGrave, 0}},
    {21, 221, {0xb4, '`', 0}},
    {34, 186, {0xfc, 0xdc, 0}},
    {35, 187, {'+', '*', '~'}},
    {47, 192, {0xf6, 0xd6, 0}},
    {48, 222, {0xe4, 0xc4, 0}},
    {51, 223, {'#', '\'', 0}},
    {59, 188, {',', ';', 0}},
    {60, 190, {'.', ':', 0}},
    {61, 189, {'-', '_', 0}},
    // French
    {49, 222, {0xb2, '~', 0}},
    {20, 219, {')', 0xb0, ']'}},
    {21, 187, {'=', '+', '}'}},
    {34, 221, {deadCircumflex, deadDiaeresis, 0}},
    {34, 221, {'^', 0xa8, 0}},
    {35, 186, {'$', 0xa3, 0xa4}},
    {48, 192, {0xf9, '%', 0}},
    {51, 220, {'*', 0xb5, 0}},
    {58, 188, {',', '?', 0}},
    {59, 190, {';', '.', 0}},
    {60, 191, {':', '/', 0}},
    {61, 223, {'!', 0xa7, 0}},
};

// The code of a punctuation key from the keysym it gives without modifiers.
int punctuationBaseCode(quint32 scan, quint32 base)
{
    for (const PunctuationKey& k : punctuationKeys)
        if (k.scan == scan && k.sym[0] == base)
            return k.code;
    return 0;
}

// The same from whatever the key gave, for a key whose layout is not known.
int punctuationCode(quint32 scan, quint32 sym, bool shifted)
{
    // The level the modifiers select first, so that "," without Shift on
    // one layout and with Shift on another each find their own key.
    for (const PunctuationKey& k : punctuationKeys)
        if (k.scan == scan && k.sym[shifted ? 1 : 0] == sym)
            return k.code;
    for (const PunctuationKey& k : punctuationKeys)
        if (k.scan == scan && (k.sym[0] == sym || k.sym[1] == sym || k.sym[2] == sym))
            return k.code;
    return 0;
}

// The code of a physical key as the US layout gives it, by X key code.
int usKeyAt(quint32 scan)
{
    static constexpr char row1[] = "1234567890";
    static constexpr char row2[] = "QWERTYUIOP";
    static constexpr char row3[] = "ASDFGHJKL";
    static constexpr char row4[] = "ZXCVBNM";
    if (scan >= 10 && scan <= 19)
        return row1[scan - 10];
    if (scan >= 24 && scan <= 33)
        return row2[scan - 24];
    if (scan >= 38 && scan <= 46)
        return row3[scan - 38];
    if (scan >= 52 && scan <= 58)
        return row4[scan - 52];
    if (scan == 65)
        return 32;
    for (const PunctuationKey& k : punctuationKeys) // the US rows come first
        if (k.scan == scan)
            return k.code;
    return 0;
}

// The US keyboard's code for a character.
int usCharCode(int ch)
{
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 'A';
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ')
        return ch;
    static constexpr char shiftedDigits[] = ")!@#$%^&*(";
    for (int i = 0; i < 10; ++i)
        if (ch == shiftedDigits[i])
            return '0' + i;
    for (const PunctuationKey& k : punctuationKeys)
        if (k.scan != 94 && (k.sym[0] == quint32(ch) || k.sym[1] == quint32(ch)))
            return k.code;
    return 0;
}

// The code of a Qt key when the platform gave no native codes.
int qtKeyCode(int k, Qt::KeyboardModifiers mods)
{
    if (mods & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9)
            return 96 + (k - Qt::Key_0);
        switch (k) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period:
        case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return 112 + (k - Qt::Key_F1);
    if (k > 0 && k < 0x80)
        return usCharCode(k);
    switch (k) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Select: return 41;
    case Qt::Key_Execute: return 43;
    case Qt::Key_Print:
    case Qt::Key_SysReq: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Help: return 47;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Cancel: return 3;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Meta:
    case Qt::Key_Super_L: return 91;
    case Qt::Key_Super_R: return 92;
    case Qt::Key_Menu: return 93;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Sleep: return 95;
    case Qt::Key_Back: return 166;
    case Qt::Key_Forward: return 167;
    case Qt::Key_Refresh: return 168;
    case Qt::Key_Stop: return 169;
    case Qt::Key_Search: return 170;
    case Qt::Key_Favorites: return 171;
    case Qt::Key_HomePage: return 172;
    case Qt::Key_VolumeMute: return 173;
    case Qt::Key_VolumeDown: return 174;
    case Qt::Key_VolumeUp: return 175;
    case Qt::Key_MediaNext: return 176;
    case Qt::Key_MediaPrevious: return 177;
    case Qt::Key_MediaStop: return 178;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause: return 179;
    case Qt::Key_LaunchMail: return 180;
    case Qt::Key_LaunchMedia: return 181;
    case Qt::Key_Launch0: return 182;
    case Qt::Key_Calculator: return 183;
    default: return 0;
    }
}

// A key the numbering has no code for: above 255, and its own. The
// physical key where there is one, else the Qt key.
int codeOfUnknownKey(int qtKey, quint32 scan)
{
    if (scan > 0 && scan < 256)
        return 256 + int(scan);
    if (qtKey >= 0x01000000)
        return qtKey;
    return 0x10000 + (qtKey & 0xffffff);
}

// The keys of one layout (one group of the active keymap) by X key code:
// every keysym the key gives, its first level first, and the code it shows.
struct LayoutKeys {
    std::array<std::vector<quint32>, 256> syms;
    std::array<int, 256> code{};
    bool carries(quint32 scan, quint32 sym) const
    {
        // Caps Lock makes the platform report a letter in the other case
        // than the level gives it.
        for (quint32 s : syms[scan])
            if (s == sym || xkb_keysym_to_upper(s) == sym || xkb_keysym_to_lower(s) == sym)
                return true;
        return false;
    }
};

// The active keymap, read when a key first needs it: the X server's when the
// program runs on X, else the one the XKB defaults (XKB_DEFAULT_LAYOUT and
// friends, else the system's) describe.
struct ActiveKeymap {
    std::vector<LayoutKeys> groups;
    QElapsedTimer read;
};

ActiveKeymap& activeKeymap()
{
    static ActiveKeymap keymap;
    return keymap;
}

struct XkbContextDeleter {
    void operator()(xkb_context* c) const { xkb_context_unref(c); }
};
struct XkbKeymapDeleter {
    void operator()(xkb_keymap* k) const { xkb_keymap_unref(k); }
};
using XkbKeymap = std::unique_ptr<xkb_keymap, XkbKeymapDeleter>;

XkbKeymap serverKeymap(xkb_context* ctx)
{
#if QT_CONFIG(xcb)
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        xcb_connection_t* conn = x11->connection();
        if (conn && xkb_x11_setup_xkb_extension(conn, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                                XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                                nullptr)) {
            const int32_t device = xkb_x11_get_core_keyboard_device_id(conn);
            if (device >= 0)
                return XkbKeymap(xkb_x11_keymap_new_from_device(ctx, conn, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
        }
    }
#else
    Q_UNUSED(ctx);
#endif
    return nullptr;
}

void readActiveKeymap(ActiveKeymap& keymap)
{
    keymap.groups.clear();
    keymap.read.start();
    std::unique_ptr<xkb_context, XkbContextDeleter> ctx(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!ctx)
        return;
    xkb_context_set_log_level(ctx.get(), XKB_LOG_LEVEL_CRITICAL);
    XkbKeymap map = serverKeymap(ctx.get());
    if (!map)
        map.reset(xkb_keymap_new_from_names(ctx.get(), nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!map)
        return;
    const xkb_layout_index_t layouts = xkb_keymap_num_layouts(map.get());
    keymap.groups.resize(layouts);
    for (xkb_layout_index_t g = 0; g < layouts; ++g) {
        LayoutKeys& keys = keymap.groups[g];
        std::array<quint32, 256> base{};
        for (xkb_keycode_t scan = 8; scan < 256; ++scan) {
            const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(map.get(), scan, g);
            for (xkb_level_index_t level = 0; level < levels; ++level) {
                const xkb_keysym_t* syms = nullptr;
                const int n = xkb_keymap_key_get_syms_by_level(map.get(), scan, g, level, &syms);
                keys.syms[scan].push_back(n > 0 ? syms[0] : 0);
            }
            if (!keys.syms[scan].empty())
                base[scan] = keys.syms[scan][0];
        }
        keys.code = layoutKeyCodes(base);
    }
}

// The layout of the active keymap a key event came from, when it holds the
// key and what the key gave. The group is the one the event's X state
// selects. A key the keymap does not know as given means the keymap has
// changed since it was read: it is read again, at most once a second.
const LayoutKeys* layoutOf(quint32 scan, quint32 sym, quint32 nativeMods)
{
    if (scan == 0 || scan > 255 || sym == 0)
        return nullptr;
    ActiveKeymap& keymap = activeKeymap();
    if (!keymap.read.isValid())
        readActiveKeymap(keymap);
    auto find = [&]() -> const LayoutKeys* {
        if (keymap.groups.empty())
            return nullptr;
        const LayoutKeys& keys = keymap.groups[((nativeMods >> 13) & 3) % keymap.groups.size()];
        return keys.carries(scan, sym) ? &keys : nullptr;
    };
    if (const LayoutKeys* keys = find())
        return keys;
    if (keymap.read.hasExpired(1000)) {
        readActiveKeymap(keymap);
        return find();
    }
    return nullptr;
}

} // namespace

std::array<int, 256> layoutKeyCodes(const std::array<quint32, 256>& base)
{
    std::array<int, 256> code{};
    std::array<bool, 512> taken{};
    // Keys that do not type, letters, digits and space first: their codes
    // are fixed. Shift, Ctrl, Alt and the two Enter keys share theirs, as
    // the platform's own numbering does.
    for (quint32 scan = 1; scan < 256; ++scan) {
        const quint32 b = base[scan];
        int c = keysymCode(b);
        if (!c && ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')))
            c = usCharCode(int(b));
        else if (!c && scan >= 10 && scan <= 19 && b)
            c = usKeyAt(scan); // the French top row types "&" for 1
        else if (!c && b == ' ')
            c = ' ';
        if (c && (!taken[size_t(c)] || keysymCode(b))) {
            code[scan] = c;
            taken[size_t(c)] = true;
        }
    }
    // Then punctuation, by the symbol the key gives unmodified.
    for (quint32 scan = 1; scan < 256; ++scan) {
        if (code[scan] || !base[scan])
            continue;
        const int c = punctuationBaseCode(scan, base[scan]);
        if (c && !taken[size_t(c)]) {
            code[scan] = c;
            taken[size_t(c)] = true;
        }
    }
    // Keys the tables do not know (other scripts, dead keys, symbols of
    // other layouts): the code of their place on a US keyboard while no
    // other key of the layout shows it, else one of their own above 255.
    for (quint32 scan = 1; scan < 256; ++scan) {
        if (code[scan] || !base[scan])
            continue;
        const int us = usKeyAt(scan);
        code[scan] = us && !taken[size_t(us)] ? us : codeOfUnknownKey(0, scan);
        taken[size_t(code[scan])] = true;
    }
    return code;
}

void keyboardLayoutChanged()
{
    activeKeymap().read.invalidate();
}

int vbKeyCode(int qtKey, quint32 scan, quint32 sym, Qt::KeyboardModifiers mods, quint32 nativeModifiers)
{
    if (const LayoutKeys* layout = layoutOf(scan, sym, nativeModifiers)) {
        // A key shows one code whatever Shift or AltGr make it type; only
        // the keys that type nothing follow what they gave (the keypad
        // follows Num Lock, Ctrl+Pause gives Break).
        const int given = keysymCode(sym);
        if (given && keysymCode(layout->syms[scan].front()))
            return given;
        if (layout->code[scan])
            return layout->code[scan];
    }
    if (int code = keysymCode(sym))
        return code;
    // Letters follow the layout (German Z, French A and Q); digits and
    // punctuation the physical key (the French top row types "&" for 1).
    if ((sym >= 'a' && sym <= 'z') || (sym >= 'A' && sym <= 'Z'))
        return usCharCode(int(sym));
    if (scan >= 10 && scan <= 19)
        return usKeyAt(scan);
    if (scan != 0) {
        if (int code = punctuationCode(scan, sym, mods & Qt::ShiftModifier))
            return code;
        // Letters of other scripts, and keys of other layouts: the key's
        // place on a US keyboard.
        if (int code = usKeyAt(scan))
            return code;
        return codeOfUnknownKey(qtKey, scan);
    }
    const int code = qtKeyCode(qtKey, mods);
    return code ? code : codeOfUnknownKey(qtKey, 0);
}

int vbKeyCode(const QKeyEvent* e)
{
    return vbKeyCode(e->key(), e->nativeScanCode(), e->nativeVirtualKey(), e->modifiers(), e->nativeModifiers());
}

int vbShiftState(Qt::KeyboardModifiers mods)
{
    int s = 0;
    if (mods & Qt::ShiftModifier)
        s |= 1;
    if (mods & Qt::ControlModifier)
        s |= 2;
    if (mods & Qt::AltModifier)
        s |= 4;
    return s;
}

int keyPressCode(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return -1;
    default: break;
    }
    const int k = e->key();
    if ((e->modifiers() & Qt::ControlModifier) && !(e->modifiers() & Qt::AltModifier)) {
        if (k >= Qt::Key_A && k <= Qt::Key_Z)
            return k - Qt::Key_A + 1;
        if (k >= Qt::Key_BracketLeft && k <= Qt::Key_Underscore) // [ \ ] ^ _
            return k - Qt::Key_BracketLeft + 27;
    }
    const QString t = e->text();
    if (t.isEmpty())
        return -1;
    return t.at(0).unicode();
}

bool isCopyGesture(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (e->key() == Qt::Key_Copy)
        return true;
    if (e->key() == Qt::Key_Insert && mods == Qt::ControlModifier)
        return true;
    return e->key() == Qt::Key_C && mods == (Qt::ControlModifier | Qt::ShiftModifier);
}

bool isEditingShortcut(const QKeyEvent* e)
{
    for (QKeySequence::StandardKey k : {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut,
                                        QKeySequence::Paste, QKeySequence::Undo, QKeySequence::Redo})
        if (e->matches(k))
            return true;
    return false;
}
