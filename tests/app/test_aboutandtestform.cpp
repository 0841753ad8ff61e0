#include "support/filechoice.h"
#include "support/tempfolders.h"
#include "support/testmain.h"

#include "app/z_about.h"
#include "app/z_commondialogcontrol.h"
#include "common/alert.h"
#include "common/commondialog.h"
#include "common/paths.h"
#include "common/rtfview.h"

#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

QString text(ToolWindow& w, const char* name)
{
    QWidget* c = w.form()->findChild<QWidget*>(QString::fromLatin1(name));
    if (auto* p = qobject_cast<QPlainTextEdit*>(c))
        return p->toPlainText();
    if (auto* t = qobject_cast<QTextEdit*>(c))
        return t->toPlainText();
    return qobject_cast<QLineEdit*>(c)->text();
}

void click(ToolWindow& w, const char* name)
{
    w.form()->findChild<QPushButton*>(QString::fromLatin1(name))->click();
}
} // namespace

class TestAboutAndTestForm : public QObject {
    Q_OBJECT
    FileChoiceAnswer boxes = FileChoiceAnswer::cancel();

private Q_SLOTS:
    void initTestCase() { setFileDialogBackend(&boxes); }
    void cleanupTestCase()
    {
        setFileDialogBackend(nullptr);
        FormSlots::get<Z_about>().unload();
        FormSlots::get<Z_commondialogcontrol>().unload();
    }

    void aboutCaptionAndPage()
    {
        TempFolders folders;
        Z_about& about = FormSlots::get<Z_about>();
        about.unload();
        popup("z_about");
        QVERIFY(about.visible());
        QCOMPARE(about.caption(),
                 QStringLiteral("About the RVM Voltaris and Utility Collection      Revision:  1.00.46"));
        QVERIFY(text(about, "aboutbox").startsWith(QStringLiteral("Voltaris and Utilities\n")));
        QVERIFY(text(about, "aboutbox").contains(QStringLiteral("1.00.46")));

        // The history's heading stands over its two columns: "Changes" starts
        // where the text of each version does, apart from "Version".
        auto* box = about.form()->findChild<RtfView*>("aboutbox");
        // A phrase the page no longer holds reads as -1, so the checks below
        // fail instead of the run crashing on a missing layout.
        auto xOf = [box](const QString& words) -> qreal {
            const QTextCursor at = box->document()->find(words);
            if (at.isNull())
                return -1;
            const QTextBlock block = at.block();
            const int pos = at.selectionStart() - block.position();
            return block.layout()->lineForTextPosition(pos).cursorToX(pos);
        };
        const qreal changes = xOf(QStringLiteral("Changes"));
        QVERIFY(changes >= 0);
        QCOMPARE(changes, xOf(QStringLiteral("This version.")));
        QCOMPARE(changes, xOf(QStringLiteral("First collected release")));
        QVERIFY(changes > xOf(QStringLiteral("Version")) + QFontMetricsF(box->font()).horizontalAdvance("Version "));
        // It speaks of every tool as here, and names the menu entries that
        // have none.
        QVERIFY(!text(about, "aboutbox").contains(QStringLiteral("later versions")));
        QVERIFY(text(about, "aboutbox").contains(QStringLiteral("Microwave Path and LM555 Monostable")));

        // A click in the text hides it; it stays loaded and shows the same
        // page again without reading the file.
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        QVERIFY(about.isLoaded());
        QVERIFY(!about.visible());
        QVERIFY(QFile::remove(folders.appFile("RevisionHistory.rtf")));
        popup("z_about");
        QVERIFY(about.visible());
        QVERIFY(text(about, "aboutbox").startsWith(QStringLiteral("Voltaris and Utilities")));

        // So does a double-click on the margin.
        QTest::mouseDClick(about.form(), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!about.visible());

        // Loaded afresh without its page: the not-installed text.
        about.unload();
        popup("z_about");
        QCOMPARE(text(about, "aboutbox"), notInstalledText());
        about.unload();
    }

    void saveReportsExtension()
    {
        popup("testform");
        Z_commondialogcontrol& w = FormSlots::get<Z_commondialogcontrol>();
        QCOMPARE(w.caption(), QStringLiteral("Common Dialog Control test form"));
        const QString proposed = joinpath(worktemp(), "ThisIsATest.txt");
        boxes.answer(proposed);
        click(w, "Command1_1");
        const FileDialogRequest& r = boxes.requests.back();
        QVERIFY(r.save);
        QCOMPARE(r.title, QStringLiteral("Select a file name to save"));
        QCOMPARE(r.fileName, QStringLiteral("ThisIsATest.txt"));
        QCOMPARE(r.initDir, worktemp());
        QCOMPARE(r.defaultExt, QStringLiteral("txt"));
        QCOMPARE(r.filters, QStringList({"Text (*.txt)", "CSV files (*.csv *.dat)"}));
        QVERIFY(r.flags & cdl::OverwritePrompt);
        QVERIFY(!(r.flags & cdl::AllowMultiselect));
        QCOMPARE(text(w, "Text1"), proposed);
        QCOMPARE(text(w, "Text3"), QStringLiteral("ThisIsATest.txt"));
        QCOMPARE(text(w, "Text2"), QStringLiteral("Extension matches default (txt)"));

        boxes.answer(joinpath(worktemp(), "data.CSV"));
        click(w, "Command1_1");
        QCOMPARE(text(w, "Text3"), QStringLiteral("data.CSV"));
        QCOMPARE(text(w, "Text2"), QStringLiteral("Extensions different from default (txt)"));

        // Back to a .txt name: the report follows the last box.
        boxes.answer(proposed);
        click(w, "Command1_1");
        QCOMPARE(text(w, "Text2"), QStringLiteral("Extension matches default (txt)"));
    }

    void openOneAndTwoFiles()
    {
        popup("testform");
        Z_commondialogcontrol& w = FormSlots::get<Z_commondialogcontrol>();
        const QString dir = worktemp();
        boxes.answer(QStringList{joinpath(dir, "a.txt"), joinpath(dir, "b.txt")});
        click(w, "Command1_0");
        const FileDialogRequest& r = boxes.requests.back();
        QVERIFY(!r.save);
        QCOMPARE(r.title, QStringLiteral("Select a file to open"));
        QCOMPARE(r.filters, QStringList({"Text (*.txt)", "Pictures (*.bmp *.ico)"}));
        QVERIFY(r.flags & cdl::AllowMultiselect);
        QVERIFY(r.flags & cdl::FileMustExist);
        QCOMPARE(text(w, "Text1"), dir + "\na.txt\nb.txt\n");

        boxes.answer(joinpath(dir, "pic.bmp"));
        click(w, "Command1_0");
        QCOMPARE(text(w, "Text1"), joinpath(dir, "pic.bmp"));
        QCOMPARE(text(w, "Text3"), QStringLiteral("pic.bmp"));
        QCOMPARE(text(w, "Text2"), QStringLiteral("Extensions different from default (txt)"));
    }

    void cancelBeepsAndChangesNothing()
    {
        popup("testform");
        Z_commondialogcontrol& w = FormSlots::get<Z_commondialogcontrol>();
        boxes.answer(joinpath(worktemp(), "keep.txt"));
        click(w, "Command1_1");
        const QString t1 = text(w, "Text1"), t2 = text(w, "Text2"), t3 = text(w, "Text3");
        for (const char* button : {"Command1_0", "Command1_1"}) {
            const int beeps = beepCount();
            boxes.answerCancel();
            click(w, button);
            QCOMPARE(beepCount(), beeps + 1);
            QCOMPARE(text(w, "Text1"), t1);
            QCOMPARE(text(w, "Text2"), t2);
            QCOMPARE(text(w, "Text3"), t3);
        }
    }

    void filterConversion()
    {
        QCOMPARE(qtFilters("All|*.*"), QStringList({"All (*.*)"}));
        QCOMPARE(qtFilters("A (*.a)|*.a|dangling"), QStringList({"A (*.a)"}));
        QCOMPARE(qtFilters(""), QStringList());
    }
};

VOLTARIS_TEST(TestAboutAndTestForm);
#include "test_aboutandtestform.moc"
