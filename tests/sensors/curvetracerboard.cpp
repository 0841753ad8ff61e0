#include "curvetracerboard.h"

QString CurveTracerBoard::marker(const char* word)
{
    return QStringLiteral("!80610") + QString::fromLatin1(word) + u'\r';
}

QString CurveTracerBoard::pointFrame(int number, int senseMillivolts, int millivolts)
{
    return QStringLiteral("!80610%1%2%3\r")
        .arg(number, 3, 10, QChar(u'0'))
        .arg(senseMillivolts, 5, 10, QChar(u'0'))
        .arg(millivolts, 5, 10, QChar(u'0'));
}

QStringList CurveTracerBoard::sweepReplies() const
{
    QStringList out;
    if (sendStart)
        out << marker("strt");
    for (const Point& p : curve)
        out << pointFrame(p.number, p.senseMillivolts, p.millivolts);
    if (sendStop)
        out << marker("stop");
    return out;
}

QStringList CurveTracerBoard::answer(const QString& line)
{
    // The line end is "#": each "#" arrives as an empty line.
    if (line.isEmpty())
        return sweepReplies();
    return {};
}
