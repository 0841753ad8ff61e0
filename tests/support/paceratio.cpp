#include "paceratio.h"
#include "cputime.h"

#include <QCoreApplication>
#include <QTest>

#include <algorithm>
#include <vector>

PaceGauge::PaceGauge(QWidget* parent, const QFont& font)
    : m_log(parent)
{
    m_log.setFont(font);
    m_log.setGeometry(0, 0, 400, 20 * m_log.fontMetrics().lineSpacing());
    m_log.show();
    if (!QTest::qWaitForWindowExposed(&m_log))
        qWarning("the pace gauge was never shown");
    // Its first lines pay for caches filled once (glyphs, layout).
    for (int k = 0; k < 5; ++k)
        gaugeTurn(100);
}

double PaceGauge::gaugeTurn(int n)
{
    m_log.clear();
    const double t = threadCpuSeconds();
    for (int k = 0; k < n; ++k) {
        m_log.addLine(QStringLiteral("%1 reply $10,%2,ABCDEF").arg(k, 6, 10, QChar(u'0')).arg(k % 97, 3));
        QCoreApplication::processEvents();
    }
    return threadCpuSeconds() - t;
}

double PaceGauge::ratio(const std::function<void(int n)>& work, int span, int turn)
{
    std::vector<double> ratios;
    m_workMs = m_gaugeMs = 0;
    for (int done = 0; done < span; done += turn) {
        const double pace = gaugeTurn(turn);
        const double t = threadCpuSeconds();
        work(turn);
        const double cost = threadCpuSeconds() - t;
        m_gaugeMs += pace * 1e3;
        m_workMs += cost * 1e3;
        ratios.push_back(cost / std::max(pace, 1e-6));
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios[ratios.size() / 2];
}
