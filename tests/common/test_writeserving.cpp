// A large file written while the event loop is served: what the file holds
// and its read-only mark when the save is cancelled, when the caller's
// bytes change meanwhile, and when a second save of the same file begins
// before the first has ended.

#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/files.h"
#include "common/pacing.h"
#include "common/timeslice.h"
#include "common/verror.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

namespace {
// Several write parts, so that the event loop is served in between.
QByteArray bigBytes(char fill)
{
    return QByteArray(3 * 1024 * 1024 + 7, fill);
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

constexpr QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadUser;
} // namespace

class TestWriteServing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A save cancelled by a quit leaves the old file as it was, read-only
    // mark included; a save that goes through clears it.
    void readOnlyMarkStaysUntilCommitted()
    {
        TempFolders t;
        const QString p = t.workFile("locked.bin");
        put(p, "old");
        QVERIFY(QFile::setPermissions(p, readOnly));
        TimeSlicer always(0);

        setQuitting(true);
        const bool written = writefileServing(p, bigBytes('n'), always);
        setQuitting(false);
        QVERIFY(!written);
        QCOMPARE(contents(p), QByteArray("old"));
        QVERIFY(!(QFile::permissions(p) & QFileDevice::WriteOwner));
        QCOMPARE(QDir(t.work()).entryList(QDir::Files), QStringList{"locked.bin"});

        QVERIFY(writefileServing(p, bigBytes('n'), always));
        QCOMPARE(contents(p), bigBytes('n'));
        QVERIFY(QFile::permissions(p) & QFileDevice::WriteOwner);
    }

    // Bytes the caller changes while the event loop is served are not
    // written half old, half new: the file holds them as they were given.
    void bytesAsGiven()
    {
        TempFolders t;
        const QString p = t.workFile("given.bin");
        QByteArray bytes = bigBytes('a');
        int changed = 0;
        QTimer::singleShot(0, [&] {
            bytes.fill('b');
            ++changed;
        });
        TimeSlicer always(0);
        QVERIFY(writefileServing(p, bytes, always));
        QCOMPARE(changed, 1);
        QVERIFY(contents(p) == bigBytes('a'));
    }

    // A second save of the file begun while the first serves the event
    // loop wins: the file holds the newer bytes, and the older save, which
    // did not write them, raises an error that says so. A read-only mark the
    // older save cleared does not come back over the newer file.
    void newerSaveWins_data()
    {
        QTest::addColumn<bool>("serving");
        QTest::addColumn<bool>("locked");
        QTest::newRow("serving") << true << false;
        QTest::newRow("plain") << false << false;
        QTest::newRow("serving, read-only") << true << true;
    }
    void newerSaveWins()
    {
        QFETCH(bool, serving);
        QFETCH(bool, locked);
        TempFolders t;
        const QString p = t.workFile("twice.bin");
        put(p, "old");
        if (locked)
            QVERIFY(QFile::setPermissions(p, readOnly));
        TimeSlicer always(0);
        int newer = -1;
        QTimer::singleShot(0, [&] {
            if (serving) {
                TimeSlicer inner(0);
                newer = writefileServing(p, bigBytes('2'), inner);
            } else {
                writefile(p, bigBytes('2'));
                newer = 1;
            }
        });
        QString said;
        try {
            writefileServing(p, bigBytes('1'), always);
        } catch (const VError& e) {
            said = e.description();
        }
        QCOMPARE(newer, 1);
        QVERIFY2(said.contains(p) && said.contains("newer save"), qPrintable(said));
        QVERIFY(contents(p) == bigBytes('2'));
        QVERIFY(QFile::permissions(p) & QFileDevice::WriteOwner);
        QCOMPARE(QDir(t.work()).entryList(QDir::Files), QStringList{"twice.bin"});
    }
};

VOLTARIS_TEST(TestWriteServing);
#include "test_writeserving.moc"
