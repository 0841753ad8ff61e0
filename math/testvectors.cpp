#include "testvectors.h"

#include "common/fields.h"

const QStringList& xteavectors()
{
    static const QStringList v = {
        QString(),
        QStringLiteral("0C0D0E0F08090A0B0405060700010203 4546474841424344 72612CB5497DF3D0"),
        QStringLiteral("00000000000000000000000000000000 0000000000000000 F7131ED9DEE9D4D8"),
        QStringLiteral("00000000000000000000000000000000 4546474841424344 F8B8EFA5A0390589"),
        QStringLiteral("FA3C554D6328EDEA92EECBC1C94A6B95 245288A52E73302D DD2CD895C7693B2B"),
        QStringLiteral("8F7CED25820F3B19FE5569313FA9B8FD DF2F1B07A48E00DA EFDAF8EEE6A52957"),
        QStringLiteral("327EE68AE5174FEF08EA15D59B743442 211637A817A220DE E037526CFD406B1A"),
        QStringLiteral("9C619102E2CC989F26C3DBDA9450F1D3 EE5FBDE4B631E54D 017A294C4D4DFCEB"),
    };
    return v;
}

QString xteaEntryText(const QString& vector)
{
    const auto brief = [&](int field) {
        const QString f = getfield(vector, field, QStringLiteral(" "));
        return f.left(4) + QStringLiteral("...") + f.right(4);
    };
    return QStringLiteral("k[") + brief(1) + QStringLiteral("] p[") + brief(2) + QStringLiteral("] c[") + brief(3)
         + QStringLiteral("]");
}

QString sha1MillionPlaceholder()
{
    return QStringLiteral("a...a x 1,000,000");
}

const std::vector<Sha1Vector>& sha1vectors()
{
    static const std::vector<Sha1Vector> v = {
        {QStringLiteral("Select a test vector to hash"), QString(), QString()},
        {QStringLiteral("(Empty Message)"), QString(), QStringLiteral("DA39A3EE 5E6B4B0D 3255BFEF 95601890 AFD80709")},
        {QStringLiteral("abc"), QStringLiteral("abc"), QStringLiteral("A9993E36 4706816A BA3E2571 7850C26C 9CD0D89D")},
        {QStringLiteral("The quick brown fox jumps over the lazy dog"),
         QStringLiteral("The quick brown fox jumps over the lazy dog"),
         QStringLiteral("2FD4E1C6 7A2D28FC ED849EE1 BB76E739 1B93EB12")},
        {QStringLiteral("The quick brown fox jumps over the lazy cog"),
         QStringLiteral("The quick brown fox jumps over the lazy cog"),
         QStringLiteral("DE9F2C7F D25E1B3A FAD3E85A 0BD17D9B 100DB4B3")},
        {QStringLiteral("a...a  (54 characters=1 block-1 after padding)"), QString(54, u'a'),
         QStringLiteral("B05D71C6 4979CB95 FA74A33C DB31A40D 258AE02E")},
        {QStringLiteral("a...a  (55 characters=1 block after padding)"), QString(55, u'a'),
         QStringLiteral("C1C8BBDC 22796E28 C0E15163 D20899B6 5621D65A")},
        {QStringLiteral("a...a  (56 characters=1 block+1 after padding)"), QString(56, u'a'),
         QStringLiteral("C2DB330F 6083854C 99D4B5BF B6E8F29F 201BE699")},
        {QStringLiteral("abcdbcde...mnopnopq"), QStringLiteral("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
         QStringLiteral("84983E44 1C3BD26E BAAE4AA1 F95129E5 E54670F1")},
        {QStringLiteral("01234567...01234567 (80 itterations)"), QStringLiteral("01234567").repeated(80),
         QStringLiteral("DEA356A2 CDDD90C7 A7ECEDC5 EBB56393 4F460452")},
        {QStringLiteral("a...a (10,000 characters)"), QString(10000, u'a'),
         QStringLiteral("A080CBDA 64850ABB 7B7F67EE 875BA068 074FF6FE")},
        {QStringLiteral("a...a (1,000,000 characters)"), sha1MillionPlaceholder(),
         QStringLiteral("34AA973C D4C4DAA4 F61EEB2B DBAD2731 6534016F")},
    };
    return v;
}
