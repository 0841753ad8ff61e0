#include "ant16chart.h"

#include "common/fields.h"
#include "common/numtext.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace ant16 {

namespace {
const QString versionField = QStringLiteral("AntProgramVersion");

int rowY(int row)
{
    return firstRowY + rowPitch * row;
}
} // namespace

QString stripper(QString& line)
{
    line.replace(u',', u' ').replace(u'"', u' ');
    QString out;
    for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
        out += word + u' ';
    return out;
}

QString heading(const QStringList& headerLines)
{
    QString out;
    for (QString line : headerLines)
        out += stripper(line) + QStringLiteral(" / ");
    out.chop(2);
    return out;
}

Header readHeader(const QStringList& lines)
{
    Header h;
    if (lines.isEmpty() || getfield(lines[0], 1, QStringLiteral(",")) != versionField)
        return h;
    if (lines.size() < headerLines) {
        h.status = Header::Short;
        return h;
    }
    h.status = Header::Ok;
    h.heading = heading(lines.mid(0, 4));
    const QString& names = lines[4];
    for (int i = 0; i < channels; ++i)
        h.names[size_t(i)] = getfield(getfield(names, i + 1, QStringLiteral(",")), 2, QStringLiteral("\""));
    return h;
}

Capture readCapture(const QStringList& lines, const std::array<bool, channels>& printed)
{
    Capture c;
    const int available = int(lines.size()) - headerLines;
    if (available < samples) {
        c.problem = QStringLiteral("the capture ends at line %1; its %2 sample lines run to line %3")
                        .arg(lines.size())
                        .arg(samples)
                        .arg(headerLines + samples);
        return c;
    }
    for (int s = 0; s < samples; ++s) {
        const int lineNo = headerLines + s + 1;
        const QStringList fields = lines[lineNo - 1].split(u',');
        for (int ch = 0; ch < channels; ++ch) {
            if (!printed[size_t(ch)])
                continue;
            const QString v = ch < fields.size() ? fields[ch].trimmed() : QString();
            if (v != QLatin1String("0") && v != QLatin1String("1")) {
                c.problem = QStringLiteral("line %1, channel %2 reads \"%3\", not 0 or 1")
                                .arg(lineNo)
                                .arg(ch)
                                .arg(v.left(20));
                return c;
            }
            c.levels[size_t(ch)][size_t(s)] = v == QLatin1String("1") ? 1 : 0;
        }
    }
    for (auto& channel : c.levels)
        channel[samples] = channel[samples - 1];
    return c;
}

double tickStep(const QString& tickfrequency)
{
    const double v = numval(tickfrequency);
    return std::isfinite(v) ? std::nearbyint(v) : 0;
}

QString optionsProblem(const Options& options)
{
    if (options.ticks && tickStep(options.tickfrequency) == 0)
        return QStringLiteral("The tick frequency \"%1\" gives no samples between tick marks.")
            .arg(options.tickfrequency.left(40));
    return QString();
}

QString tickAnnotation(const Options& options)
{
    static const char* const unitNames[] = {"ns", "us", "ms"};
    const QString unit = options.unitIndex >= 0 && options.unitIndex < 3
                             ? QString::fromLatin1(unitNames[options.unitIndex])
                             : QString();
    // The figures the marks were drawn with, not the raw box texts.
    const double step = tickStep(options.tickfrequency);
    QString suffix;
    if (!options.resolution.trimmed().isEmpty()) {
        const double res = numval(options.resolution);
        suffix = QStringLiteral(" @ ") + plaindec(res) + unit + QStringLiteral("/sample =") + numstr(step * res) + unit;
    }
    return QStringLiteral("Tick frequency:") + numstr(step) + QStringLiteral(" samples") + suffix;
}

Chart buildChart(const Levels& levels, const Options& options)
{
    Chart chart;
    const QColor black(0, 0, 0);
    if (options.ticks) {
        const double step = tickStep(options.tickfrequency);
        // A negative step draws none, and one that rounds to 0 is refused
        // before (the marks would never reach the end).
        if (step > 0)
            for (double i = 0; i <= samples; i += step) {
                const int x = axisX + sampleWidth * int(i);
                chart.lines.push_back({x, tickTop, x, tickBottom, 1, Qt::SolidLine, black});
            }
    }
    int row = 0;
    std::vector<int> rowChannels;
    for (int ch = 0; ch < channels; ++ch)
        if (options.printed[size_t(ch)])
            rowChannels.push_back(ch);
    for (int ch : rowChannels) {
        const auto& v = levels[size_t(ch)];
        const int y0 = rowY(row++);
        int high = 0;
        for (int s = 0; s < samples; ++s)
            high += v[size_t(s)] ? 1 : 0;
        // The level the channel never reaches, dotted.
        const QColor green(0, 128, 0);
        const int end = axisX + sampleWidth * samples;
        if (high == samples)
            chart.lines.push_back({axisX, y0, end, y0, 1, Qt::DotLine, green});
        else if (high == 0)
            chart.lines.push_back({axisX, y0 - levelHeight, end, y0 - levelHeight, 1, Qt::DotLine, green});
        int prev = axisX;
        for (int s = 0; s < samples; ++s) {
            const int x = axisX + sampleWidth * (s + 1);
            const int y = y0 - levelHeight * v[size_t(s)];
            chart.lines.push_back({prev, y, x, y, 3, Qt::SolidLine, black});
            if (v[size_t(s)] != v[size_t(s) + 1])
                chart.lines.push_back({x, y, x, y0 - levelHeight * v[size_t(s) + 1], 3, Qt::SolidLine, black});
            prev = x;
        }
    }
    row = 0;
    for (int ch : rowChannels)
        chart.texts.push_back({labelX, rowY(row++) - 200, fontSize, options.names[size_t(ch)].left(labelChars)});
    chart.texts.push_back({labelX, headingY, fontSize, options.heading});
    if (options.ticks)
        chart.texts.push_back({labelX, annotationY, fontSize, tickAnnotation(options)});
    return chart;
}

void paintChart(QPainter& painter, const Chart& chart)
{
    painter.save();
    for (const ChartLine& l : chart.lines) {
        painter.setPen(QPen(l.color, l.width, l.style, Qt::SquareCap, Qt::MiterJoin));
        painter.drawLine(l.x1, l.y1, l.x2, l.y2);
    }
    QFont font(QStringLiteral("Liberation Sans"));
    for (const ChartText& t : chart.texts) {
        font.setPointSize(t.size);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QFontMetrics fm(font, painter.device());
        painter.drawText(t.x, t.y + fm.ascent(), t.text);
    }
    painter.restore();
}

} // namespace ant16
