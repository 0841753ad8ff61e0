#include "support/modal.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "common/paths.h"
#include "common/z_selectfile.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace {
QString native(const QString& p)
{
    return QDir::toNativeSeparators(p);
}

template <class W>
W* child(QWidget* dlg, const char* name)
{
    return dlg->findChild<W*>(QString::fromLatin1(name));
}

// A double-click as the mouse makes it: press and release, then the
// double-click event and its release.
void doubleClick(QListWidget* list, QPoint at, Qt::KeyboardModifiers mods = {})
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, mods, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, mods, at);
}

// Walks the directory list to a folder by double-clicks, going through
// its parent when the folder has no entry yet.
void openFolder(QWidget* dlg, const QString& folder)
{
    auto* list = child<QListWidget>(dlg, "dirlist");
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toString() == native(folder)) {
            list->scrollToItem(list->item(i));
            doubleClick(list, list->visualItemRect(list->item(i)).center());
            return;
        }
    }
    const QString parent = native(QFileInfo(folder).absolutePath());
    if (parent == native(folder))
        QFAIL(qPrintable("no entry for " + folder));
    openFolder(dlg, parent);
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toString() == native(folder))
            return openFolder(dlg, folder);
    QFAIL(qPrintable("no entry for " + folder));
}

// Selects the file list's entries from first to last and double-clicks.
void takeFiles(QWidget* dlg, const QString& first, const QString& last)
{
    auto* list = child<QListWidget>(dlg, "filelist");
    const auto a = list->findItems(first, Qt::MatchExactly);
    const auto b = list->findItems(last, Qt::MatchExactly);
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    list->setCurrentItem(a.first());
    const QRect r = list->visualItemRect(b.first());
    doubleClick(list, r.center(), first == last ? Qt::KeyboardModifiers() : Qt::ShiftModifier);
}

QStringList entries(QWidget* dlg, const char* name)
{
    QStringList out;
    auto* list = child<QListWidget>(dlg, name);
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QString rootFolder()
{
    return QDir::toNativeSeparators(QDir::rootPath());
}
} // namespace

class TestSelectFile : public QObject {
    Q_OBJECT
    QString savedCwd;
    std::unique_ptr<TempFolders> folders;
    QString a, b;      // two folders with files
    QString elsewhere; // the process's current folder during a test

    // The chooser's own current folder, where it opens when given none;
    // the process's current folder must be where the test put it.
    QString chooserFolder()
    {
        if (native(QDir::currentPath()) != elsewhere)
            return QStringLiteral("process folder changed to ") + QDir::currentPath();
        QString shown;
        ModalAnswer ans("cancelbutton");
        ans.setBeforePress([&](QWidget* dlg) {
            shown = child<QListWidget>(dlg, "dirlist")->currentItem()->data(Qt::UserRole).toString();
        });
        selectfile("", "", "", "Where");
        return shown;
    }

private Q_SLOTS:
    void init()
    {
        savedCwd = QDir::currentPath();
        folders = std::make_unique<TempFolders>();
        a = native(folders->workFile("alpha"));
        b = native(folders->workFile("beta"));
        for (const char* f : {"a.txt", "b.csv", "noext"})
            writeFile(QDir(a).filePath(f), "x");
        writeFile(QDir(b).filePath("c.txt"), "x");
        QDir(a).mkdir("sub");
        elsewhere = native(folders->workFile("elsewhere"));
        QDir().mkpath(elsewhere);
        QDir::setCurrent(elsewhere);
    }
    void cleanup()
    {
        QDir::setCurrent(savedCwd);
        folders.reset();
    }

    void startFolder_data()
    {
        QTest::addColumn<QString>("filename");
        QTest::addColumn<QString>("startdir");
        QTest::addColumn<QString>("expected"); // "A", "B", "app", "own": the chooser's folder (B)
        QTest::newRow("start folder wins") << "B/c.txt" << "A" << "A";
        QTest::newRow("folder of the name") << "B/c.txt" << "" << "B";
        QTest::newRow("name's folder missing") << "B/nothere/c.txt" << "" << "app";
        QTest::newRow("plain name: chooser's folder") << "c.txt" << "" << "own";
        QTest::newRow("nothing: chooser's folder") << "" << "" << "own";
        QTest::newRow("start folder missing") << "B/c.txt" << "A/nothere" << "app";
        QTest::newRow("start folder is a file") << "" << "A/a.txt" << "app";
    }
    void startFolder()
    {
        QFETCH(QString, filename);
        QFETCH(QString, startdir);
        QFETCH(QString, expected);
        auto expand = [this](QString s) {
            if (s.startsWith("A"))
                s = a + s.mid(1);
            else if (s.startsWith("B"))
                s = b + s.mid(1);
            return native(s);
        };
        filename = expand(filename);
        startdir = expand(startdir);
        {
            // The chooser's own folder becomes B; the process's stays apart.
            ModalAnswer ans("OKButton");
            selectfile("", "", b, "Set");
        }
        const QString want = expected == "app" ? apppath() : expected == "own" ? b : expand(expected);

        QString shownFolder, shownName, caption;
        ModalAnswer ans("OKButton");
        ans.setBeforePress([&](QWidget* dlg) {
            shownFolder = child<QListWidget>(dlg, "dirlist")->currentItem()->data(Qt::UserRole).toString();
            shownName = child<QPlainTextEdit>(dlg, "filename")->toPlainText();
            caption = dlg->windowTitle();
        });
        const QString result = selectfile(filename, "", startdir, "Pick one");
        QVERIFY(ans.answered());
        QCOMPARE(caption, QStringLiteral("Pick one"));
        QCOMPARE(shownFolder, want);
        QCOMPARE(shownName, filename);
        QCOMPARE(chooserFolder(), want);
        // A whole path left in the name box names that file; a plain name
        // is taken in the folder shown.
        if (filename.isEmpty())
            QCOMPARE(result, QString());
        else if (QDir::isAbsolutePath(filename))
            QCOMPARE(result, filename);
        else
            QCOMPARE(result, joinpath(want, filename));
    }

    void maskAndFileList()
    {
        QString mask;
        QStringList all, txt, csv;
        ModalAnswer ans("OKButton");
        ans.setBeforePress([&](QWidget* dlg) {
            QTRY_COMPARE(child<QLineEdit>(dlg, "filemask")->text(), QStringLiteral("*.*"));
            all = entries(dlg, "filelist");
            child<QLineEdit>(dlg, "filemask")->setText("*.TXT");
            txt = entries(dlg, "filelist");
            child<QLineEdit>(dlg, "filemask")->setText("*.csv;*.txt");
            csv = entries(dlg, "filelist");
        });
        selectfile("", "", a, "Mask");
        QVERIFY(ans.answered());
        QCOMPARE(all, QStringList({"a.txt", "b.csv", "noext"}));
        QCOMPARE(txt, QStringList({"a.txt"}));
        QCOMPARE(csv, QStringList({"a.txt", "b.csv"}));

        ModalAnswer ans2("OKButton");
        ans2.setBeforePress([&](QWidget* dlg) {
            QTRY_COMPARE(child<QLineEdit>(dlg, "filemask")->text(), QStringLiteral("*.csv"));
            all = entries(dlg, "filelist");
        });
        selectfile("", "*.csv", a, "Mask");
        QCOMPARE(all, QStringList({"b.csv"}));
    }

    void folderChangeEmptiesName()
    {
        QStringList files;
        QString name;
        ModalAnswer ans("OKButton");
        ans.setBeforePress([&](QWidget* dlg) {
            openFolder(dlg, b);
            files = entries(dlg, "filelist");
            name = child<QPlainTextEdit>(dlg, "filename")->toPlainText();
        });
        QCOMPARE(selectfile("typed.txt", "", a, "Change"), QString());
        QCOMPARE(files, QStringList({"c.txt"}));
        QCOMPARE(name, QString());
        QCOMPARE(chooserFolder(), b);
    }

    void oneAndTwoFiles()
    {
        QString count;
        {
            ModalAnswer ans("OKButton");
            ans.setBeforePress([&](QWidget* dlg) {
                takeFiles(dlg, "b.csv", "b.csv");
                count = child<QLineEdit>(dlg, "filecount")->text();
            });
            QCOMPARE(selectfile("", "", a, "One"), joinpath(a, "b.csv"));
            QCOMPARE(count, QStringLiteral("1"));
        }
        {
            ModalAnswer ans("OKButton");
            ans.setBeforePress([&](QWidget* dlg) {
                takeFiles(dlg, "a.txt", "b.csv");
                count = child<QLineEdit>(dlg, "filecount")->text();
            });
            QCOMPARE(selectfile("", "", a, "Two"), joinpath(a, "a.txt ,b.csv"));
            QCOMPARE(count, QStringLiteral("2"));
        }
        // Into a subfolder, then a file there.
        writeFile(QDir(a).filePath("sub/d.txt"), "x");
        ModalAnswer ans("OKButton");
        ans.setBeforePress([&](QWidget* dlg) {
            openFolder(dlg, QDir(a).filePath("sub"));
            takeFiles(dlg, "d.txt", "d.txt");
        });
        QCOMPARE(selectfile("", "", a, "Sub"), joinpath(a, "sub" + QString(QDir::separator()) + "d.txt"));
    }

    // A file highlighted with one click (or several with Shift) and OK
    // with the name box empty: the highlighted files are taken. A name
    // typed in the box still wins over the highlight.
    void highlightThenOK_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one file") << "b.csv" << "b.csv" << "" << "b.csv";
        QTest::newRow("two files") << "a.txt" << "b.csv" << "" << "a.txt ,b.csv";
        QTest::newRow("typed name wins") << "b.csv" << "b.csv" << "typed.txt" << "typed.txt";
    }
    void highlightThenOK()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QString nameBefore;
        ModalAnswer ans("OKButton");
        ans.setBeforePress([&](QWidget* dlg) {
            auto* list = child<QListWidget>(dlg, "filelist");
            const auto from = list->findItems(first, Qt::MatchExactly);
            const auto to = list->findItems(last, Qt::MatchExactly);
            QVERIFY(!from.isEmpty() && !to.isEmpty());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(from.first()).center());
            if (last != first)
                QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                                  list->visualItemRect(to.first()).center());
            auto* box = child<QPlainTextEdit>(dlg, "filename");
            nameBefore = box->toPlainText();
            QTest::keyClicks(box, typed);
        });
        QCOMPARE(selectfile("", "", a, "Click"), joinpath(a, expected));
        QVERIFY(ans.answered());
        QCOMPARE(nameBefore, QString()); // one click alone fills nothing
    }

    // Links are listed as what they point to: to a file among the files, to
    // a folder among the folders; one to a device (a port listed in a
    // folder) or to nothing is in neither list.
    void linksListedAsWhatTheyPointTo()
    {
        if (!QFileInfo(QStringLiteral("/dev/null")).exists())
            QSKIP("no device to link to");
        const QDir dir(a);
        QVERIFY(QFile::link(dir.filePath("a.txt"), dir.filePath("filelink")));
        QVERIFY(QFile::link(dir.filePath("sub"), dir.filePath("folderlink")));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath("portlink")));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("deadlink")));
        QStringList files, folders;
        ModalAnswer ans("cancelbutton");
        ans.setBeforePress([&](QWidget* dlg) {
            files = entries(dlg, "filelist");
            for (QString f : entries(dlg, "dirlist"))
                folders << f.trimmed();
        });
        selectfile("", "", a, "Links");
        QVERIFY(ans.answered());
        QCOMPARE(files, QStringList({"a.txt", "b.csv", "filelink", "noext"}));
        QVERIFY2(folders.mid(folders.size() - 2) == QStringList({"folderlink", "sub"}), qPrintable(folders.join(u'|')));
        QVERIFY(!folders.contains("portlink") && !folders.contains("deadlink"));
    }

    void rootFolderResults()
    {
        auto typeInRoot = [](const QString& typed) {
            return [typed](QWidget* dlg) {
                auto* drives = child<QComboBox>(dlg, "drivelist");
                const int i = drives->findText(rootFolder());
                QVERIFY(i >= 0);
                drives->setCurrentIndex(i);
                emit drives->activated(i);
                auto* box = child<QPlainTextEdit>(dlg, "filename");
                box->setFocus();
                QTest::keyClicks(box, typed);
                if (typed == "x1")
                    QTest::keyClick(box, Qt::Key_Return), QTest::keyClicks(box, "x2");
            };
        };
        {
            ModalAnswer ans("OKButton");
            ans.setBeforePress(typeInRoot("x.txt"));
            QCOMPARE(selectfile("", "", a, "Root"), rootFolder() + "x.txt");
            QCOMPARE(chooserFolder(), rootFolder());
        }
        {
            // Several names come back in the same form as in any folder.
            ModalAnswer ans("OKButton");
            ans.setBeforePress(typeInRoot("x1"));
            QCOMPARE(selectfile("", "", a, "Root"), rootFolder() + "x1 ,x2");
        }
        ModalAnswer ans("OKButton");
        ans.setBeforePress([](QWidget* dlg) {
            auto* box = child<QPlainTextEdit>(dlg, "filename");
            box->setFocus();
            QTest::keyClicks(box, "y1");
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, "y2");
        });
        QCOMPARE(selectfile("", "", a, "Typed two"), joinpath(a, "y1 ,y2"));
    }

    void cancelAndCloseBox()
    {
        {
            ModalAnswer ans("cancelbutton");
            ans.setBeforePress([&](QWidget* dlg) { takeFiles(dlg, "c.txt", "c.txt"); });
            QCOMPARE(selectfile("", "", b, "Cancel"), QString());
            QVERIFY(ans.answered());
            QCOMPARE(chooserFolder(), b);
        }
        {
            ModalAnswer ans("OKButton");
            selectfile("", "", a, "Set");
        }
        ModalAnswer ans{QString()};
        ans.setBeforePress([&](QWidget* dlg) { takeFiles(dlg, "c.txt", "c.txt"); });
        QCOMPARE(selectfile("", "", b, "Close box"), QString());
        QVERIFY(ans.answered());
        // Closed with its close box: the folder it showed is lost.
        QCOMPARE(chooserFolder(), a);
        // The next use starts from the design state.
        ModalAnswer again("OKButton");
        QString count = "?";
        again.setBeforePress([&](QWidget* dlg) { count = child<QLineEdit>(dlg, "filecount")->text(); });
        selectfile("", "", b, "Again");
        QCOMPARE(count, QString());
    }

    void pickFolder()
    {
        {
            ModalAnswer ans("OKButton");
            QCOMPARE(pickfolder(a, "Folder"), a);
            QCOMPARE(chooserFolder(), a);
        }
        {
            // A missing start folder opens the program's folder; Cancel
            // returns the folder shown then.
            QString shown;
            ModalAnswer ans("cancelbutton");
            ans.setBeforePress([&](QWidget* dlg) {
                shown = child<QListWidget>(dlg, "dirlist")->currentItem()->data(Qt::UserRole).toString();
                openFolder(dlg, b);
            });
            QCOMPARE(pickfolder(QDir(a).filePath("nothere"), "Folder"), b);
            QCOMPARE(shown, apppath());
            QCOMPARE(chooserFolder(), b);
        }
        {
            ModalAnswer ans("OKButton");
            ans.setBeforePress([](QWidget* dlg) {
                auto* drives = child<QComboBox>(dlg, "drivelist");
                const int i = drives->findText(rootFolder());
                drives->setCurrentIndex(i);
                emit drives->activated(i);
            });
            QCOMPARE(pickfolder(a, "Root"), rootFolder());
        }
        ModalAnswer ans{QString()};
        ans.setBeforePress([&](QWidget* dlg) { openFolder(dlg, b); });
        QCOMPARE(pickfolder(a, "Close box"), a);
        QCOMPARE(chooserFolder(), a);
    }

    void drivesOfferRoots()
    {
        const QStringList roots = fileSystemRoots();
        QVERIFY(roots.contains(rootFolder()));
        for (const QString& r : roots)
            QVERIFY(QFileInfo(r).isDir());
    }
};

VOLTARIS_TEST(TestSelectFile);
#include "test_selectfile.moc"
