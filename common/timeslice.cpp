#include "timeslice.h"
#include "pacing.h"

#include <QCoreApplication>

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
