#include "refusingport.h"

#include "support/alertsink.h"

#include <QTest>

QList<RefusalCase> refusalTable()
{
    const QString openError = QStringLiteral("Com port open error");
    return {
        {QStringLiteral("missing"), Refusal::Missing, false, openError, QString()},
        {QStringLiteral("I/O at open"), Refusal::Io, false, openError, QStringLiteral("Input/output")},
        {QStringLiteral("rate"), Refusal::Rate, false, openError, QString()},
        {QStringLiteral("DTR at open"), Refusal::Dtr, false, openError, QStringLiteral("DTR")},
        {QStringLiteral("RTS at open"), Refusal::Rts, false, openError, QStringLiteral("RTS")},
        {QStringLiteral("write"), Refusal::Write, true, QStringLiteral("Com port error"), QString()},
    };
}

qsizetype refusalIndex(const QList<RefusalCase>& table, const QString& name)
{
    for (qsizetype i = 0; i < table.size(); ++i)
        if (table[i].name == name)
            return i;
    qFatal("no refusal case %s", qPrintable(name));
}

RefusalCase& refusalCase(QList<RefusalCase>& table, const QString& name)
{
    return table[refusalIndex(table, name)];
}

void arm(FakeLine& line, Refusal mode, int rate)
{
    switch (mode) {
    case Refusal::Missing: line.present = false; break;
    case Refusal::Io: line.failOpen = true; break;
    case Refusal::Rate: line.refuseBaud = {rate}; break;
    case Refusal::Slow: line.maxBaud = rate / 2; break;
    case Refusal::Dtr: line.refuseLines = portline::DTR; break;
    case Refusal::Rts: line.refuseLines = portline::RTS; break;
    case Refusal::Write: line.failWrites = true; break;
    }
}

void disarm(FakeLine& line)
{
    line.present = true;
    line.failOpen = false;
    line.refuseBaud.clear();
    line.maxBaud = 0;
    line.refuseLines = 0;
    line.failWrites = false;
}

namespace {

// One row; false when a check failed (the failure is recorded already).
bool runRefusal(FakeLine& line, int rate, const RefusalCase& row, const RefusalWindow& window, AlertSink& alerts)
{
    const QByteArray label = row.name.toUtf8();
    alerts.titles.clear();
    alerts.texts.clear();
    disarm(line);
    if (!row.inUse)
        arm(line, row.mode, rate);
    window.choose();
    if (row.inUse) {
        arm(line, row.mode, rate);
        window.provoke(row.mode);
    }
    if (QTest::currentTestFailed())
        return false;
    if (row.title.isEmpty()) {
        // No alert is due; give a wrong one time to come.
        QTest::qWait(100);
    } else if (!QTest::qWaitFor([&] { return !alerts.titles.isEmpty(); }, 5000)) {
        QTest::qFail((label + ": no alert").constData(), __FILE__, __LINE__);
        return false;
    }
    QTest::qWait(50); // a second alert would come now
    const QStringList want = row.title.isEmpty() ? QStringList() : QStringList{row.title};
    if (alerts.titles != want) {
        const QByteArray got = alerts.titles.join(QStringLiteral(", ")).toUtf8() + " (" +
                               alerts.texts.join(QStringLiteral(" / ")).toUtf8() + ")";
        QTest::qFail((label + ": alerts " + got).constData(), __FILE__, __LINE__);
        return false;
    }
    if (!row.mentions.isEmpty() && !alerts.texts.first().contains(row.mentions)) {
        const QByteArray said = alerts.texts.first().toUtf8();
        QTest::qFail((label + ": the alert does not say " + row.mentions.toUtf8() + ": " + said).constData(), __FILE__,
                     __LINE__);
        return false;
    }
    if (line.open != row.staysOpen) {
        QTest::qFail((label + (row.staysOpen ? ": the port did not stay open" : ": the port was left open")).constData(),
                     __FILE__, __LINE__);
        return false;
    }
    if (row.staysOpen) {
        if (window.open)
            window.open();
    } else {
        window.noPort();
    }
    if (!QTest::currentTestFailed() && window.after)
        window.after(row);
    disarm(line);
    if (!QTest::currentTestFailed())
        window.usable();
    if (QTest::currentTestFailed()) {
        qWarning("in refusal case %s", label.constData());
        return false;
    }
    return true;
}

} // namespace

void runRefusals(FakeLine& line, int rate, const QList<RefusalCase>& table, const RefusalWindow& window)
{
    AlertSink alerts;
    for (const RefusalCase& row : table)
        if (!runRefusal(line, rate, row, window, alerts))
            return;
}
