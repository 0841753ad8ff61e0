#pragma once
// Whether each stage of a window's long work serves the event loop,
// however fast the machine runs: the work's slices are made one step long,
// and every pass of the event loop is counted under the stage the work is
// in at that moment (what stage() says: a status text, say).
//
//   StageTurns turns([&] { return status->text(); });
//   ... run the work ...
//   QVERIFY(turns.count("Writing to file...") >= 3);

#include "math/slicing.h"

#include <QAbstractEventDispatcher>
#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

class StageTurns : public QObject {
public:
    explicit StageTurns(std::function<QString()> stage) : m_stage(std::move(stage))
    {
        setWorkSliceMs(0);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this,
                [this] { ++m_turns[m_stage()]; });
    }
    ~StageTurns() override { setWorkSliceMs(15); }
    StageTurns(const StageTurns&) = delete;
    StageTurns& operator=(const StageTurns&) = delete;

    int count(const QString& stage) const { return m_turns.value(stage); }
    // The counts by stage, for a failure message.
    QString report() const
    {
        QString out;
        for (auto it = m_turns.cbegin(); it != m_turns.cend(); ++it)
            out += QStringLiteral("\"%1\": %2; ").arg(it.key().left(40)).arg(it.value());
        return out;
    }

private:
    std::function<QString()> m_stage;
    QMap<QString, int> m_turns;
};
