#include "curvetracer.h"

#include "common/fields.h"
#include "common/numformat.h"
#include "common/numtext.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace curvetracer {

Frame parseFrame(const QString& frame)
{
    Frame f;
    if (frame.mid(3, 2) != QLatin1String("10"))
        return f;
    const QString marker = frame.mid(5, 4).toLower();
    if (marker == QLatin1String("strt")) {
        f.kind = Frame::Start;
        return f;
    }
    if (marker == QLatin1String("stop")) {
        f.kind = Frame::Stop;
        return f;
    }
    f.kind = Frame::Point;
    // The point number as a 16-bit integer (halves to even); three
    // characters can still spell one far outside that range ("9E9").
    const double n = numval(frame.mid(5, 3));
    f.number = std::isfinite(n) ? int(std::nearbyint(std::clamp(n, -32768.0, 32767.0))) : -1;
    f.senseMillivolts = numval(frame.mid(8, 5));
    f.millivolts = numval(frame.mid(13, 5));
    return f;
}

void SweepTable::clear()
{
    for (QString& p : m_points)
        p.clear();
}

bool SweepTable::set(int number, const QString& text)
{
    if (number < 0 || number >= size)
        return false;
    m_points[std::size_t(number)] = text;
    return true;
}

double SweepTable::currentOf(int number) const
{
    return numval(getfield(at(number), 1, QStringLiteral(",")));
}

int SweepTable::first() const
{
    for (int i = 0; i < size - 1; ++i)
        if (currentOf(i) != currentOf(i + 1))
            return i;
    return 0;
}

int SweepTable::last() const
{
    for (int i = size - 1; i >= 1; --i)
        if (currentOf(i) != currentOf(i - 1))
            return i;
    return size - 1;
}

QByteArray SweepTable::fileBytes() const
{
    QByteArray bytes("Current-uA,Voltage-V\r\n");
    for (int i = first(), end = last(); i <= end; ++i)
        bytes += at(i).toLatin1() + "\r\n";
    return bytes;
}

QString sweepFileName(const QString& root, qint64 number)
{
    // Three digits as the files have always been named; more when the count
    // outgrows them, so sweep 1234 never lands on sweep 234's file.
    const QString digits = number < 1000 ? zeropad(int(number), 3) : QString::number(number);
    return root + u'_' + digits + QStringLiteral(".csv");
}

bool isFileCount(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,15}$"));
    return digits.match(text).hasMatch();
}

} // namespace curvetracer
