#include "support/oddfiles.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/files.h"
#include "common/pacing.h"
#include "common/timeslice.h"
#include "common/verror.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {
// A path written with "/" in the examples, in the platform's own form.
QString native(const QString& p)
{
    return QDir::toNativeSeparators(p);
}

QStringList hundredLines(const QString& prefix)
{
    QStringList lines(101);
    for (int k = 1; k <= 100; ++k)
        lines[k] = prefix + QString::number(k);
    return lines;
}
} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pathpart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("parts"); // parts 0 to 5
        QTest::newRow("plain") << "/data/report.txt"
                               << QStringList{"report.txt", "report", "txt", "/data", "/data/report.txt", "/data/report"};
        QTest::newRow("no extension") << "/data/report"
                                      << QStringList{"report", "report", "", "/data", "/data/report", "/data/report"};
        QTest::newRow("second dot ends the name")
            << "report.old.txt" << QStringList{"report.old", "report", "old", "", "/report.old", "/report"};
        QTest::newRow("dot file") << ".profile" << QStringList{".profile", "", "profile", "", "/.profile", "/"};
        QTest::newRow("dotted folder") << "/home/a.b.c/notes.txt"
                                       << QStringList{"notes.txt", "notes", "txt", "/home/a.b.c", "/home/a.b.c/notes.txt",
                                                      "/home/a.b.c/notes"};
        QTest::newRow("dotted folder, no extension")
            << "/x.y/readme" << QStringList{"readme", "readme", "", "/x.y", "/x.y/readme", "/x.y/readme"};
        QTest::newRow("forbidden characters") << "  /a|b/x*?.y<>  "
                                              << QStringList{"x.y", "x", "y", "/ab", "/ab/x.y", "/ab/x"};
        QTest::newRow("empty") << "" << QStringList{"", "", "", "", "", ""};
    }
    void pathpart()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, parts);
        for (int k = 0; k < 6; ++k) {
            QString p = native(path);
            QCOMPARE(::pathpart(p, k), native(parts[k]));
        }
        QString p = native(path);
        QCOMPARE(::pathpart(p, 6), QString());
        QCOMPARE(::pathpart(p, -1), QString());
    }

    void pathpartTrimsCallersVariable()
    {
        QString p = native("  /a|b/x.y  ");
        QCOMPARE(::pathpart(p, 4), native("/ab/x.y"));
        QCOMPARE(p, native("/a|b/x.y"));
    }

    void exists()
    {
        TempFolders t;
        const QString dir = t.work();
        writeFile(dir + "/one.txt", "x");
        writeFile(dir + "/.hidden", "x");
        QDir(dir).mkdir("sub");
        QVERIFY(!::fileexists(QString()));
        QVERIFY(!::direxists(QString()));
        QVERIFY(::fileexists(dir + "/one.txt"));
        QVERIFY(!::fileexists(dir + "/two.txt"));
        QVERIFY(::fileexists(dir + "/*.*"));
        QVERIFY(::fileexists(dir + "/o?e.txt"));
        QVERIFY(!::fileexists(dir + "/*.csv"));
        QVERIFY(!::fileexists(dir + "/.hidden"));
        QVERIFY(!::fileexists(dir + "/sub"));
        QVERIFY(::direxists(dir + "/sub"));
        QVERIFY(::direxists(dir + "/one.txt"));
        QVERIFY(::direxists(dir + "/s*"));
        QVERIFY(!::direxists(dir + "/missing"));
        QVERIFY(!::fileexists(dir + "/missing/one.txt"));
        QVERIFY(!::fileexists(dir + "/s*/one.txt"));
        QVERIFY(!::fileexists(QString(5000, u'x')));

        // "*.*" means every file, with or without an extension.
        TempFolders u;
        writeFile(u.work() + "/README", "x");
        QVERIFY(::fileexists(u.work() + "/*.*"));
        QVERIFY(::fileexists(u.work() + "/READ*.*"));
        QVERIFY(!::fileexists(u.work() + "/*.txt"));
    }

    void loadCreatesMissingFile()
    {
        TempFolders t;
        const QString p = t.workFile("settings.ini");
        QStringList a = hundredLines("old");
        ::filelines("LOAD", p, a);
        QCOMPARE(readFile(p), QByteArray("\r\n\r\n"));
        QCOMPARE(a[1], QString());
        QCOMPARE(a[2], QString());
        QCOMPARE(a[3], QStringLiteral("old3"));
        QCOMPARE(a[100], QStringLiteral("old100"));

        // An empty file is treated like a missing one.
        writeFile(p, QByteArray());
        a = hundredLines("old");
        ::filelines("load", p, a);
        QCOMPARE(readFile(p), QByteArray("\r\n\r\n"));
        QCOMPARE(a[3], QStringLiteral("old3"));
    }

    void roundTrip()
    {
        TempFolders t;
        const QString p = t.workFile("round.ini");
        QStringList a = hundredLines("v");
        a[0] = QStringLiteral("never written");
        a[5] = QString();
        a[7] = QStringLiteral("caf\u00e9 \u00b5F");
        ::filelines("Save", p, a);
        const QByteArray bytes = readFile(p);
        QCOMPARE(bytes.count("\r\n"), 100);
        QVERIFY(bytes.startsWith("v1\r\nv2\r\n"));
        QVERIFY(bytes.contains("caf\xe9 \xb5" "F\r\n"));
        QVERIFY(!bytes.contains("never"));

        QStringList b(101);
        b[0] = QStringLiteral("untouched");
        ::filelines("load", p, b);
        QCOMPARE(b[0], QStringLiteral("untouched"));
        for (int k = 1; k <= 100; ++k)
            QCOMPARE(b[k], a[k]);
    }

    void lineEndsInValuesBecomeBlanks()
    {
        TempFolders t;
        const QString p = t.workFile("ends.ini");
        QStringList a = hundredLines("v");
        a[3] = QStringLiteral("two\r\nlines\rand\nmore");
        ::filelines("save", p, a);
        QStringList b(101);
        ::filelines("load", p, b);
        QCOMPARE(b[3], QStringLiteral("two  lines and more"));
        QCOMPARE(b[4], QStringLiteral("v4"));
        QCOMPARE(b[100], QStringLiteral("v100"));
    }

    void loadReadsEveryLineEnd_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n\r\nd\r\n");
        QTest::newRow("LF") << QByteArray("a\nb\n\nd\n");
        QTest::newRow("CR") << QByteArray("a\rb\r\rd\r");
        QTest::newRow("mixed, no final end") << QByteArray("a\r\nb\n\rd");
    }
    void loadReadsEveryLineEnd()
    {
        QFETCH(QByteArray, bytes);
        TempFolders t;
        const QString p = writeFile(t.workFile("mixed.ini"), bytes);
        QStringList a = hundredLines("old");
        ::filelines("load", p, a);
        QCOMPARE(a[1], QStringLiteral("a"));
        QCOMPARE(a[2], QStringLiteral("b"));
        QCOMPARE(a[3], QString());
        QCOMPARE(a[4], QStringLiteral("d"));
        QCOMPARE(a[5], QStringLiteral("old5"));
    }

    void loadStopsAt100Lines()
    {
        TempFolders t;
        QByteArray bytes;
        for (int k = 1; k <= 150; ++k)
            bytes += "line" + QByteArray::number(k) + "\r\n";
        const QString p = writeFile(t.workFile("long.ini"), bytes);
        QStringList a(50); // too short: extended, not overrun
        ::filelines("load", p, a);
        QCOMPARE(a.size(), 101);
        QCOMPARE(a[100], QStringLiteral("line100"));
    }

    void loadSurvivesBinary()
    {
        TempFolders t;
        QByteArray bytes(300000, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 7919) & 0xff);
        const QString p = writeFile(t.workFile("binary.ini"), bytes);
        QStringList a(101);
        ::filelines("load", p, a);
        qsizetype end = 0;
        while (bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        QCOMPARE(a[1], QString::fromLatin1(bytes.left(end)));
        QVERIFY(!a[100].isEmpty());
    }

    void saveOverReadOnlyAndDeletedFile()
    {
        TempFolders t;
        const QString p = writeFile(t.workFile("ro.ini"), "old\r\n");
        QFile::setPermissions(p, QFileDevice::ReadOwner);
        QStringList a = hundredLines("n");
        ::filelines("save", p, a);
        QCOMPARE(readFile(p).count("\r\n"), 100);
        QVERIFY(QFile::permissions(p) & QFileDevice::WriteOwner);

        QFile::remove(p);
        ::filelines("save", p, a);
        QCOMPARE(readFile(p).count("\r\n"), 100);
    }

    void failedSaveKeepsOldFileAndRaises()
    {
        TempFolders t;
        QStringList a = hundredLines("a fairly long settings value, line ");
        try {
            ::filelines("save", t.workFile("no/such/folder.ini"), a);
            QFAIL("no error raised");
        } catch (const VError& e) {
            QCOMPARE(e.number(), verr::PathNotFound);
            QVERIFY(e.description().contains(t.workFile("no/such/folder.ini")));
        }
        // The disk fills up in the middle of the save: the old settings
        // must come through whole.
        const QString p = writeFile(t.workFile("full.ini"), "old1\r\nold2\r\n");
        struct rlimit old {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
        const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = 1000; // the save writes about 4 KB
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        bool raised = false;
        try {
            ::filelines("save", p, a);
        } catch (const VError& e) {
            raised = true;
            QVERIFY(e.description().contains(p));
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldSignal);
        QVERIFY(raised);
        QCOMPARE(readFile(p), QByteArray("old1\r\nold2\r\n"));
        QCOMPARE(QDir(t.work()).entryList(QDir::Files), QStringList({"full.ini"})); // no stray temporary
    }

    // A FIFO, folder or device where a settings file belongs: loading reads
    // it as missing at once and creates nothing over it; saving raises one
    // error that names the file and says what is in the way.
    void oddPathsAreNotFiles_data() { addOddFileRows(); }
    void oddPathsAreNotFiles()
    {
        QFETCH(OddFile, odd);
        TempFolders t;
        const QString p = t.workFile("odd.ini");
        makeOddFile(p, odd);
        QStringList a = hundredLines("old");
        QElapsedTimer clock;
        clock.start();
        ::filelines("load", p, a);
        QVERIFY(!readfile(p, 1000));
        QVERIFY(clock.elapsed() < 2000);
        QCOMPARE(a[1], QString());
        QCOMPARE(a[3], QStringLiteral("old3"));
        QVERIFY(isOddFile(p, odd));
        QVERIFY(!isregularfile(p));
        try {
            ::filelines("save", p, a);
            QFAIL("no error raised");
        } catch (const VError& e) {
            QVERIFY2(e.description().contains(p) && e.description().contains(oddFileWord(odd)),
                     qPrintable(e.description()));
        }
        QVERIFY(isOddFile(p, odd));
        QVERIFY_THROWS_EXCEPTION(VError, writefile(p, "x"));
    }

    // A missing file that cannot be created gives the defaults, no error.
    void missingFileThatCannotBeCreatedLoadsSilently()
    {
        TempFolders t;
        QStringList a = hundredLines("old");
        ::filelines("load", t.workFile("nofolder/new.ini"), a);
        QCOMPARE(a[1], QString());
        QCOMPARE(a[3], QStringLiteral("old3"));
        QVERIFY(!QFile::exists(t.workFile("nofolder/new.ini")));
    }

    // A large file written while the event loop is served: whole when the
    // wait runs out, and the old file untouched when it is aborted.
    void writeServingTheEventLoop()
    {
        TempFolders t;
        const QString p = writeFile(t.workFile("big.bin"), "old");
        QByteArray bytes(3 * 1024 * 1024 + 5, '\0');
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i % 251);
        TimeSlicer always(0);
        QVERIFY(writefileServing(p, bytes, always));
        QCOMPARE(readFile(p), bytes);

        setQuitting(true);
        const bool written = writefileServing(p, bytes + "x", always);
        setQuitting(false);
        QVERIFY(!written);
        QCOMPARE(readFile(p), bytes);
        QCOMPARE(QDir(t.work()).entryList(QDir::Files), QStringList{"big.bin"});
    }

    // A file over the cap is refused whole, and told apart from one that
    // cannot be read; a reader of a file's beginning asks for it by name.
    void readfileReadsWhatTheFileHolds()
    {
        TempFolders t;
        const QByteArray six("\x00\xff\r\nabc", 6);
        const QString p = writeFile(t.workFile("data.bin"), six);
        bool tooLarge = true;
        QCOMPARE(readfile(p, 1 << 25, &tooLarge), six);
        QVERIFY(!tooLarge);
        QCOMPARE(readfile(p, 6), six);
        QVERIFY(!readfile(p, 5, &tooLarge));
        QVERIFY(tooLarge);
        QVERIFY(!readfile(p, 0));
        bool more = false;
        QCOMPARE(readfilehead(p, 2, &more), QByteArray("\x00\xff", 2));
        QVERIFY(more);
        QCOMPARE(readfilehead(p, 6, &more), six);
        QVERIFY(!more);
        QCOMPARE(readfile(writeFile(t.workFile("empty"), QByteArray()), 0), QByteArray());
        QVERIFY(!readfile(t.workFile("missing"), 100, &tooLarge));
        QVERIFY(!tooLarge);
        QVERIFY(!readfilehead(t.workFile("missing"), 100, &more));
        QVERIFY(!more);
        QVERIFY(!readfile(QString(), 100));
    }

    void settingvalueTakesWhatTheBoxTakes_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("expected"); // -1: none
        QTest::newRow("plain") << "3.5" << 3.5;
        QTest::newRow("leading blank, unit after") << " 7V" << 7.0;
        QTest::newRow("point first") << ".25" << 0.25;
        QTest::newRow("bounds") << "10" << 10.0;
        QTest::newRow("exponent in range") << "1e1" << 10.0;
        QTest::newRow("above") << "10.001" << -1.0;
        QTest::newRow("negative") << "-1" << -1.0;
        QTest::newRow("huge") << "1e308" << -1.0;
        QTest::newRow("infinite") << "1e99999" << -1.0;
        QTest::newRow("no number") << "abc" << -1.0;
        QTest::newRow("empty") << "" << -1.0;
        QTest::newRow("binary") << QString::fromLatin1("\xff\x01") << -1.0;
    }
    void settingvalueTakesWhatTheBoxTakes()
    {
        QFETCH(QString, line);
        QFETCH(double, expected);
        const std::optional<double> v = settingvalue(line, 0, 10);
        if (expected < 0)
            QVERIFY(!v);
        else
            QCOMPARE(v.value_or(-1), expected);
    }

    void otherModesDoNothing()
    {
        TempFolders t;
        const QString p = t.workFile("none.ini");
        QStringList a = hundredLines("x");
        ::filelines("append", p, a);
        QVERIFY(!QFile::exists(p));
    }
};

VOLTARIS_TEST(TestFiles);
#include "test_files.moc"
