#include "support/testmain.h"
#include "support/typing.h"

#include "common/alert.h"
#include "common/fields.h"
#include "common/formbuilder.h"
#include "common/xtea.h"
#include "math/math_xteatester.h"
#include "math/testvectors.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstdint>

namespace {
// XTEA as it is usually written: v[0] and k[0] come first.
void referenceEncipher(uint32_t v[2], const uint32_t k[4])
{
    uint32_t v0 = v[0], v1 = v[1], sum = 0;
    const uint32_t delta = 0x9E3779B9;
    for (int i = 0; i < 32; ++i) {
        v0 += (((v1 << 4) ^ (v1 >> 5)) + v1) ^ (sum + k[sum & 3]);
        sum += delta;
        v1 += (((v0 << 4) ^ (v0 >> 5)) + v0) ^ (sum + k[(sum >> 11) & 3]);
    }
    v[0] = v0;
    v[1] = v1;
}

// The words of a stored field, word 0 first (it stands rightmost).
std::vector<uint32_t> wordsOf(const QString& hex)
{
    std::vector<uint32_t> w;
    for (int i = int(hex.size()) - 8; i >= 0; i -= 8)
        w.push_back(hex.mid(i, 8).toUInt(nullptr, 16));
    return w;
}
} // namespace

class TestXteaTester : public QObject {
    Q_OBJECT
    Math_xteatester& w() { return FormSlots::get<Math_xteatester>(); }
    QLineEdit* box(const char* name) { return boxNamed(w(), name); }
    QComboBox* list() { return w().form()->findChild<QComboBox*>("testvector"); }
    void chooseVector(int n)
    {
        list()->setCurrentIndex(n);
        emit list()->activated(n);
    }
    void doit(int i) { w().form()->findChild<QPushButton*>(arrayName("doit", i))->click(); }

private Q_SLOTS:
    void init()
    {
        popup("Math_xteatester");
        QVERIFY(w().visible());
    }
    void cleanup() { w().unload(); }

    void storedVectorsAreXtea_data()
    {
        QTest::addColumn<int>("n");
        for (int n = 1; n <= 7; ++n)
            QTest::newRow(qPrintable(QString::number(n))) << n;
    }
    void storedVectorsAreXtea()
    {
        QFETCH(int, n);
        const QString& v = xteavectors()[n];
        const QString key = getfield(v, 1, " "), plain = getfield(v, 2, " "), cipher = getfield(v, 3, " ");
        QCOMPARE(key.size(), 32);
        const std::vector<uint32_t> k = wordsOf(key);
        std::vector<uint32_t> block = wordsOf(plain);
        referenceEncipher(block.data(), k.data());
        QCOMPARE(block, wordsOf(cipher));

        chooseVector(n);
        QCOMPARE(list()->currentText(), xteaEntryText(v));
        QCOMPARE(box("expectedtext")->text(), cipher);
        QCOMPARE(box("cyphertext")->text(), QString());
        doit(0);
        QCOMPARE(box("cyphertext")->text(), cipher);
        box("plaintext")->setText("0");
        doit(1);
        QCOMPARE(box("plaintext")->text(), plain);
    }

    void opening()
    {
        QCOMPARE(w().caption(), QString("XTEA Encypher / Decypher"));
        QCOMPARE(list()->count(), 8);
        QCOMPARE(list()->itemText(0), QString("Select a Key/Plaintext test vector pair"));
        QCOMPARE(list()->itemText(1), QString("k[0C0D...0203] p[4546...4344] c[7261...F3D0]"));
        QCOMPARE(box("encryptkey")->text(), getfield(xteavectors()[1], 1, " "));
        chooseVector(4);
        chooseVector(0); // entry 0 loads vector 1
        QCOMPARE(box("encryptkey")->text(), QString("0C0D0E0F08090A0B0405060700010203"));
        QCOMPARE(box("plaintext")->text(), QString("4546474841424344"));
        QCOMPARE(box("expectedtext")->text(), QString("72612CB5497DF3D0"));
        QVERIFY(box("expectedtext")->isReadOnly());
    }

    void keysAndPadding()
    {
        QLineEdit* key = box("encryptkey");
        retype(key, "1");
        leaveBox(key);
        QCOMPARE(key->text(), QString(31, u'0') + "1");

        QLineEdit* pt = box("plaintext");
        retype(pt, "a");
        QTest::keyClick(pt, 'A', Qt::ShiftModifier);
        QTest::keyClicks(pt, "g-x ");
        QCOMPARE(pt->text(), QString("A"));

        chooseVector(2);
        pressEnter(box("plaintext")); // Enter enciphers and keeps the expected text
        QCOMPARE(box("cyphertext")->text(), QString("F7131ED9DEE9D4D8"));
        QCOMPARE(box("expectedtext")->text(), QString("F7131ED9DEE9D4D8"));
        retype(box("cyphertext"), "f7131ed9dee9d4d8");
        QCOMPARE(box("cyphertext")->text(), QString("F7131ED9DEE9D4D8"));
        QCOMPARE(box("expectedtext")->text(), QString());
        pressEnter(box("cyphertext"));
        QCOMPARE(box("plaintext")->text(), QString(16, u'0'));
    }

    void pastesHoldHexOnly()
    {
        QLineEdit* key = box("encryptkey");
        const QString before = key->text();
        const int beeps = beepCount();
        paste(key, "12 34");
        QCOMPARE(key->text(), before);
        QCOMPARE(beepCount(), beeps + 1);
        paste(key, "0123abcdef");
        QCOMPARE(key->text(), QString("0123ABCDEF"));
        QCOMPARE(beepCount(), beeps + 1);
        QCOMPARE(box("expectedtext")->text(), QString());
        doit(0);
        QCOMPARE(box("cyphertext")->text(), xtea(0, "4546474841424344", "0123ABCDEF"));
    }
};

VOLTARIS_TEST(TestXteaTester);
#include "test_xteatester.moc"
