#include "timeslice.h"
#include "pacing.h"

#include <QCoreApplication>

namespace {
qint64 g_defaultSliceMs = 15;
}

qint64 TimeSlicer::defaultSliceMs()
{
    return g_defaultSliceMs;
}

void TimeSlicer::setDefaultSliceMs(qint64 ms)
{
    g_defaultSliceMs = ms;
}

TimeSlicer::TimeSlicer(qint64 sliceMs) : m_sliceMs(sliceMs)
{
    m_clock.start();
}

bool TimeSlicer::yield()
{
    if (!due())
        return !waitAborted();
    return serve();
}

bool TimeSlicer::serve()
{
    QCoreApplication::processEvents();
    m_clock.restart();
    return !waitAborted();
}
