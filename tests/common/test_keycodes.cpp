#include "support/testmain.h"

#include "common/keycodes.h"

#include <QTest>

#include <algorithm>
#include <map>

namespace {
using Changes = std::map<quint32, quint32>;

// The first-level keysyms of a US keyboard by X key code, with a layout's
// changes; a change to 0 removes the key.
std::array<quint32, 256> usKeyboardWith(const Changes& changes)
{
    std::array<quint32, 256> base{};
    const char* rows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'`", "\\zxcvbnm,./"};
    const quint32 first[] = {10, 24, 38, 51};
    for (int r = 0; r < 4; ++r)
        for (int i = 0; rows[r][i]; ++i)
            base[first[r] + quint32(i)] = quint32(rows[r][i]);
    base[65] = ' ';
    base[94] = '<';
    base[50] = 0xffe1; // Shift_L
    base[62] = 0xffe2; // Shift_R
    base[36] = 0xff0d; // Return
    base[104] = 0xff8d; // KP_Enter
    for (auto [scan, sym] : changes)
        base[scan] = sym;
    return base;
}
} // namespace

Q_DECLARE_METATYPE(Changes)

class TestKeycodes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A layout's keys the tables do not know take the code of their place
    // on a US keyboard while no other key of the layout shows it, else one
    // of their own above 255; no two keys share a code but the pairs the
    // numbering joins.
    void layoutCodes_data()
    {
        QTest::addColumn<Changes>("changes");
        QTest::addColumn<uint>("scan");
        QTest::addColumn<int>("code");
        QTest::newRow("US layout, apostrophe") << Changes{} << 48u << 222;
        QTest::newRow("US layout, Z") << Changes{} << 52u << 90;
        QTest::newRow("unknown keysym, place free") << Changes{{49, 0x1234567}} << 49u << 192;
        QTest::newRow("unknown keysym, place taken") << Changes{{49, 0x1234567}, {47, 0xf6}} << 49u << 256 + 49;
        QTest::newRow("o umlaut keeps its code") << Changes{{49, 0x1234567}, {47, 0xf6}} << 47u << 192;
        QTest::newRow("dead key, place free") << Changes{{48, 0xfe61}} << 48u << 222;
        QTest::newRow("dead key, place taken") << Changes{{48, 0xfe61}, {49, 0xb2}} << 48u << 256 + 48;
        QTest::newRow("Cyrillic letter, no A") << Changes{{38, 0x6c6}} << 38u << 65;
        QTest::newRow("Cyrillic letter, A moved") << Changes{{38, 0x6c6}, {24, 'a'}} << 38u << 256 + 38;
        QTest::newRow("moved A") << Changes{{38, 0x6c6}, {24, 'a'}} << 24u << 65;
        QTest::newRow("punctuation code given twice") << Changes{{20, ')'}} << 34u << 256 + 34;
        QTest::newRow("launcher key") << Changes{{191, 0x1008ff81}} << 191u << 256 + 191;
        QTest::newRow("no key") << Changes{{49, 0}} << 49u << 0;
    }
    void layoutCodes()
    {
        QFETCH(Changes, changes);
        QFETCH(uint, scan);
        QFETCH(int, code);
        const auto base = usKeyboardWith(changes);
        const std::array<int, 256> codes = ::layoutKeyCodes(base);
        QCOMPARE(codes[scan], code);
        std::map<int, std::vector<quint32>> byCode;
        for (quint32 s = 0; s < 256; ++s) {
            QCOMPARE(codes[s] != 0, base[s] != 0);
            if (codes[s])
                byCode[codes[s]].push_back(s);
        }
        const std::vector<std::vector<quint32>> shared = {{50, 62}, {36, 104}};
        for (const auto& [c, keys] : byCode) {
            const bool allowed = keys.size() == 1 || std::find(shared.begin(), shared.end(), keys) != shared.end();
            QVERIFY2(allowed, qPrintable(QString("code %1 shown by %2 keys").arg(c).arg(keys.size())));
        }
    }
};

VOLTARIS_TEST(TestKeycodes);
#include "test_keycodes.moc"
