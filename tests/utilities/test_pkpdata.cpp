#include "support/testmain.h"

#include "utilities/pkpdata.h"

#include <QTest>

namespace {
// A placement line as the pick-and-place export writes it.
QString pkpLine(const QString& ref, const QString& layer, const QString& rot, const QString& x, const QString& y,
                const QString& value = "10k", const QString& symbol = "RES")
{
    return QString("\"%1\",\"%2\",\"%3\",%4,%5,%6,%7").arg(ref, value, symbol, layer, rot, x, y);
}

Placement placed(const QString& ref, double x = 0, double y = 0, const QString& partno = unknownPartNumber,
                 const QString& symbval = "RES-10k")
{
    Placement p;
    p.refdes = ref;
    p.x = x;
    p.y = y;
    p.partno = partno;
    p.symbval = symbval;
    return p;
}

QStringList refs(const std::vector<Placement>& side)
{
    QStringList out;
    for (const Placement& p : side)
        out << p.refdes + "=" + p.partno;
    return out;
}

QStringList entryText(const std::vector<PartsEntry>& entries)
{
    QStringList out;
    for (const PartsEntry& e : entries)
        out << e.refdes + "=" + e.partno;
    return out;
}

ListOptions noSuppression()
{
    ListOptions o;
    o.suppressJx = o.suppressPx = o.suppressEx = o.suppressDni = false;
    return o;
}
} // namespace

class TestPkpData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rounding_data()
    {
        QTest::addColumn<QString>("rot");
        QTest::addColumn<QString>("x");
        QTest::addColumn<double>("wantRot");
        QTest::addColumn<double>("wantX");
        QTest::newRow("-90") << "-90" << "12.5" << 270.0 << 13.0;
        QTest::newRow("360") << "360" << "-12.5" << 0.0 << -12.0;
        QTest::newRow("89.5 to even") << "89.5" << "12.49" << 90.0 << 12.0;
        QTest::newRow("90.5 to even") << "90.5" << "-0.5" << 90.0 << 0.0;
        QTest::newRow("-450 keeps sign") << "-450" << "1500" << -90.0 << 1500.0;
        QTest::newRow("450") << "450" << " 7.6mm" << 90.0 << 8.0;
        QTest::newRow("not numbers") << "abc" << "" << 0.0 << 0.0;
    }
    void rounding()
    {
        QFETCH(QString, rot);
        QFETCH(QString, x);
        QFETCH(double, wantRot);
        QFETCH(double, wantX);
        const PlacementSides s = readPlacements({pkpLine("R1", "TOP", rot, x, "0")});
        QCOMPARE(s.top.size(), size_t(1));
        QCOMPARE(s.top[0].rotation, wantRot);
        QCOMPARE(s.top[0].x, wantX);
        // The list shows them as plain whole numbers, never "-0".
        const QStringList list = placementList(s.top, "T", "t", noSuppression(), false);
        QCOMPARE(list[3].split('\t')[3], QString::number(wantRot));
        QCOMPARE(list[3].split('\t')[1], QString::number(wantX));
    }

    void layersAndColumns()
    {
        const QStringList lines = {
            "Proteus pick and place export",
            "",
            "Part ID,Value,Package,Layer,Rotation,X,Y",
            pkpLine("R1", "TOP", "0", "1500", "-20.4", "10k", "RES40"),
            pkpLine("C2", "Bot", "90", "50", "60", "100n", "CAP10"),
            pkpLine("U3", " top", "0", "1", "1"),    // leading blank: not a layer
            pkpLine("U4", "inner", "0", "1", "1"),   // neither side
            pkpLine("R5", "top ", "0", "1", "1"),    // trailing blank: not a layer
            "R6,x,y,TOP,0,1,1",                      // not a placement line
            pkpLine("D7", "tOp", "180", "2", "3", "LED", "DIODE"),
        };
        const PlacementSides s = readPlacements(lines);
        QCOMPARE(refs(s.top), QStringList({"R1=##########", "D7=##########"}));
        QCOMPARE(refs(s.bottom), QStringList({"C2=##########"}));
        QCOMPARE(s.top[0].symbval, QString("RES40-10k"));
        QCOMPARE(s.top[0].y, -20.0);
        QCOMPARE(s.bottom[0].symbval, QString("CAP10-100n"));
        QCOMPARE(s.top[1].rotation, 180.0);
    }

    void damagedPlacementLines()
    {
        const QStringList lines = {
            "\"R1,x,y,top",                 // one quote, no numbers
            "\"",                           // a lone quote
            "\"\",\"\",\"\",bot,,,",        // empty fields
            QString("\"X9\",\"v\",\"s\",top,1e400,-1e400,nan"), // out of range
            QString(100000, u'"'),          // only quotes
            QString("\"") + QString(200000, u'x') + ",1,2,top,3,4,5",
        };
        const PlacementSides s = readPlacements(lines);
        QCOMPARE(s.top.size(), size_t(3));
        QCOMPARE(s.bottom.size(), size_t(1));
        QCOMPARE(s.top[0].refdes, QString());
        QCOMPARE(s.top[0].symbval, QString("-"));
        QCOMPARE(s.top[0].x, 0.0);
        QCOMPARE(s.bottom[0].refdes, QString());
        const QStringList list = placementList(s.top, "T", "t", noSuppression(), true);
        for (const QString& line : list) {
            QVERIFY2(!line.contains("inf", Qt::CaseInsensitive) && !line.contains("nan", Qt::CaseInsensitive),
                     qPrintable(line.left(80)));
        }
        QCOMPARE(list[4].split('\t').mid(0, 4), QStringList({"X9", "---", "0", "---"}));
        QVERIFY(readPlacements({}).top.empty());
    }

    void partsList()
    {
        const QStringList lines = {
            "\"R1, R2,R7\",PN-1001 ,value",
            "C5,PN-7 X7R,value",
            "",
            "   ",
            "Refdes,Part number,Value",   // a heading reads like data
            "\"Q1,\",PN-3,\"x\",PN-9",     // trailing comma adds nothing; the part number stops at a quote
            "\"\",PN-0",                   // empty list: no entries
            "\"unclosed, list",            // no closing quote: no entries
        };
        QCOMPARE(entryText(readPartsList(lines)),
                 QStringList({"R1=PN-1001", "R2=PN-1001", "R7=PN-1001", "C5=PN-7", "Refdes=Part", "Q1=PN-3"}));
        QVERIFY(readPartsList({}).empty());
    }

    // A quoted list names any number of designators: all of them merge.
    void longDesignatorList()
    {
        QStringList names;
        PlacementSides s;
        for (int i = 1; i <= 20000; ++i) {
            names << QStringLiteral("R%1").arg(i);
            s.top.push_back(placed(names.last()));
        }
        const auto entries = readPartsList({u'"' + names.join(QStringLiteral(", ")) + QStringLiteral("\",PN-20K")});
        QCOMPARE(entries.size(), std::size_t(20000));
        QCOMPARE(entries.back().refdes, QStringLiteral("R20000"));
        QVERIFY(mergePartNumbers(s, entries).empty());
        for (const Placement& p : s.top)
            QCOMPARE(p.partno, QStringLiteral("PN-20K"));
    }

    void merging_data()
    {
        QTest::addColumn<QStringList>("top");
        QTest::addColumn<QStringList>("bottom");
        QTest::addColumn<QStringList>("bom");
        QTest::addColumn<QStringList>("wantTop");
        QTest::addColumn<QStringList>("wantBottom");
        QTest::addColumn<QStringList>("wantOrphans");
        QTest::newRow("same designator on two lines")
            << QStringList{"R1"} << QStringList{"R1"} << QStringList{"R1,PN-A", "R1,PN-B"}
            << QStringList{"R1=PN-A"} << QStringList{"R1=PN-B"} << QStringList{};
        QTest::newRow("three lines, two placements")
            << QStringList{"R1"} << QStringList{"R1"} << QStringList{"R1,PN-A", "R1,PN-B", "R1,PN-C"}
            << QStringList{"R1=PN-A"} << QStringList{"R1=PN-B"} << QStringList{"R1=PN-C"};
        QTest::newRow("top side first, file order")
            << QStringList{"C1", "R1", "R1"} << QStringList{"R1", "C2"} << QStringList{"X1,PN-X", "R1,PN-1", "r1,PN-lc", "R1,PN-2", "R1,PN-3", "Q1,PN-Q"}
            << QStringList{"C1=##########", "R1=PN-1", "R1=PN-2"} << QStringList{"R1=PN-3", "C2=##########"}
            << QStringList{"X1=PN-X", "r1=PN-lc", "Q1=PN-Q"};
    }
    void merging()
    {
        QFETCH(QStringList, top);
        QFETCH(QStringList, bottom);
        QFETCH(QStringList, bom);
        PlacementSides s;
        for (const QString& r : top)
            s.top.push_back(placed(r, 0, 0, "stale"));
        for (const QString& r : bottom)
            s.bottom.push_back(placed(r, 0, 0, "stale"));
        const auto orphans = mergePartNumbers(s, readPartsList(bom));
        QTEST(refs(s.top), "wantTop");
        QTEST(refs(s.bottom), "wantBottom");
        QTEST(entryText(orphans), "wantOrphans");
    }

    void orphanList()
    {
        QCOMPARE(orphanLines({{"R9", "PN-9"}, {"C1", ""}}), QStringList({"R9\tPN-9", "C1\t"}));
    }

    void suppression_data()
    {
        QTest::addColumn<QString>("ref");
        QTest::addColumn<QString>("partno");
        QTest::addColumn<QString>("symbval");
        QTest::addColumn<bool>("dropped");
        QTest::newRow("J1") << "J1" << "PN" << "CONN-x" << true;
        QTest::newRow("j2") << "j2" << "PN" << "CONN-x" << true;
        QTest::newRow("CJ1") << "CJ1" << "PN" << "CAP-x" << false;
        QTest::newRow("P1") << "P1" << "PN" << "x-y" << true;
        QTest::newRow("e5") << "e5" << "PN" << "x-y" << true;
        QTest::newRow("DNI in part#") << "R1" << "pn-DnI" << "x-y" << true;
        QTest::newRow("dni in symbol") << "R1" << "PN" << "RES-dni" << true;
        QTest::newRow("DNI in designator") << "RDNI" << "PN" << "x" << true;
        QTest::newRow("plain") << "R1" << "PN" << "RES-10k" << false;
        QTest::newRow("empty designator") << "" << "PN" << "" << false;
    }
    void suppression()
    {
        QFETCH(QString, ref);
        QFETCH(QString, partno);
        QFETCH(QString, symbval);
        QFETCH(bool, dropped);
        const std::vector<Placement> side = {placed(ref, 1, 2, partno, symbval)};
        QCOMPARE(placementList(side, "a", "b", ListOptions(), true).size(), dropped ? 3 : 4);
        // With every box clear every placement is listed.
        QCOMPARE(placementList(side, "a", "b", noSuppression(), true).size(), 4);
    }

    void listLayout()
    {
        ListOptions o = noSuppression();
        o.offsetX = 100;
        o.offsetY = -5;
        const std::vector<Placement> side = {placed("R1", 1500, 10, "PN-1", "RES-10k"), placed("R2", 50, 0)};
        QCOMPARE(placementList(side, topTitle("board"), "x", o, true),
                 QStringList({"board Vx TOP", "x", "Refdes\tX\tY\tRotate\tPart#\t\tSymb-Value",
                              "R1\t1400\t15\t0\tPN-1\tRES-10k", "R2\t-50\t5\t0\t##########\tRES-10k"}));
        QCOMPARE(placementList(side, "BOTTOM.XY", bottomTitle("board"), o, false),
                 QStringList({"BOTTOM.XY", "board Vx Bottom", "Refdes\tX\tY\tRotate\tPart#", "R1\t1400\t15\t0\tPN-1",
                              "R2\t-50\t5\t0\t##########"}));
        o.offsetX = 1e300;
        QCOMPARE(placementList(side, "a", "b", o, false)[3], "R1\t-1" + QString(300, u'0') + "\t15\t0\tPN-1");
    }
};

VOLTARIS_TEST(TestPkpData);
#include "test_pkpdata.moc"
