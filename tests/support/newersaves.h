#pragma once
// Another window saving the same file while a window's long save serves the
// event loop: at every pass of the loop while `when` holds, the file is
// saved again with `bytes`. The work of every window is cut into one-step
// slices meanwhile, so each step of its save serves the loop, however fast
// the machine runs.

#include "common/files.h"
#include "common/timeslice.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class NewerSaves : public QObject {
public:
    NewerSaves(QString path, QByteArray bytes, std::function<bool()> when = [] { return true; })
        : m_path(std::move(path)), m_bytes(std::move(bytes)), m_when(std::move(when))
    {
        TimeSlicer::setDefaultSliceMs(0);
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (!m_when())
                return;
            writefile(m_path, m_bytes);
            ++m_saves;
        });
        m_timer.start();
    }
    ~NewerSaves() override { TimeSlicer::setDefaultSliceMs(m_sliceMs); }
    NewerSaves(const NewerSaves&) = delete;
    NewerSaves& operator=(const NewerSaves&) = delete;

    int saves() const { return m_saves; }

private:
    QString m_path;
    QByteArray m_bytes;
    std::function<bool()> m_when;
    qint64 m_sliceMs = TimeSlicer::defaultSliceMs();
    QTimer m_timer;
    int m_saves = 0;
};
