#include "widetext.h"

#include <QTest>

QString wideText(WideText kind)
{
    switch (kind) {
    case WideText::Omega: return QStringLiteral("10k\u03A9 pull-up");
    case WideText::Lodz: return QStringLiteral("\u0141\u00F3d\u017A");
    case WideText::Cjk: return QStringLiteral("\u6E2C\u4F4D");
    case WideText::Astral: return QStringLiteral("clef \U0001D11E");
    case WideText::Combining: return QStringLiteral("e\u0301e\u0300");
    case WideText::RightToLeft: return QStringLiteral("\u05E9\u05DC\u05D5\u05DD");
    case WideText::Long: {
        QString s;
        for (int i = 0; i < 10000; ++i)
            s += (i % 3 == 0) ? QChar(0x03A9) : QChar(u'a' + i % 26);
        return s;
    }
    }
    return QString();
}

void addWideTextRows(const QString& prefix, const QString& suffix, bool longToo)
{
    QTest::addColumn<QString>("wide");
    const struct {
        const char* row;
        WideText kind;
    } rows[] = {{"omega", WideText::Omega},         {"polish", WideText::Lodz},
                {"cjk", WideText::Cjk},             {"astral", WideText::Astral},
                {"combining", WideText::Combining}, {"right-to-left", WideText::RightToLeft},
                {"10000 characters", WideText::Long}};
    for (const auto& r : rows)
        if (longToo || r.kind != WideText::Long)
            QTest::newRow(r.row) << prefix + wideText(r.kind) + suffix;
}
