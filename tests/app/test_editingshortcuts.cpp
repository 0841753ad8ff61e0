#include "support/testmain.h"
#include "support/typing.h"

#include "app/windowtable.h"
#include "common/toolwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

namespace {
void shortcut(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier)
{
    QTest::keyClick(w, key, mods);
}

// Pastes the clipboard over the whole text of a box, with the keys.
void pasteOver(QLineEdit* box, const QString& clip)
{
    QApplication::clipboard()->setText(clip);
    giveFocus(box);
    shortcut(box, Qt::Key_A);
    shortcut(box, Qt::Key_V);
}

// Text no result box may ever show: overflowed or undefined numbers, or a
// number written out with hundreds of digits.
QString badResult(QWidget* form)
{
    static const QRegularExpression undefined(QStringLiteral("inf|nan"), QRegularExpression::CaseInsensitiveOption);
    for (QLineEdit* out : form->findChildren<QLineEdit*>()) {
        if (!out->isReadOnly())
            continue;
        if (out->text().contains(undefined) || out->text().size() > 40)
            return out->objectName() + QStringLiteral(" shows \"") + out->text().left(60) + u'"';
    }
    return {};
}
} // namespace

// The platform's editing shortcuts pass the key filters of filtered boxes,
// and whatever the clipboard holds is read like any other text of the box.
class TestEditingShortcuts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        for (ToolWindow* w : FormSlots::all())
            w->unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A decimal box of a design tool: select all replaces, the clipboard
    // round-trips through copy, cut and paste, and undo takes a paste back.
    void shortcutsPassTheFilter()
    {
        popup(QStringLiteral("PSUtil_lm317"));
        ToolWindow& w = windowFor(QStringLiteral("psutil_lm317"));
        QLineEdit* rset = boxNamed(w, QStringLiteral("spec_2"));
        QLineEdit* vmin = boxNamed(w, QStringLiteral("spec_4"));
        QCOMPARE(rset->text(), QStringLiteral("722.0"));
        giveFocus(rset);
        QTest::keyClick(rset, Qt::Key_End);
        shortcut(rset, Qt::Key_A);
        QTest::keyClicks(rset, QStringLiteral("1000"));
        QCOMPARE(rset->text(), QStringLiteral("1000"));
        // The results follow the typed value (1.25 V (1 + 1000/243) + 50 uA 1000).
        QCOMPARE(vmin->text(), QStringLiteral("6.444"));

        shortcut(rset, Qt::Key_A);
        shortcut(rset, Qt::Key_C);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1000"));
        shortcut(rset, Qt::Key_X);
        QCOMPARE(rset->text(), QString());
        shortcut(rset, Qt::Key_V);
        shortcut(rset, Qt::Key_V);
        QCOMPARE(rset->text(), QStringLiteral("10001000"));
        shortcut(rset, Qt::Key_Z);
        QCOMPARE(rset->text(), QStringLiteral("1000"));
        QCOMPARE(vmin->text(), QStringLiteral("6.444"));
        // Other control keys are still the filter's to refuse.
        shortcut(rset, Qt::Key_B);
        QTest::keyClick(rset, Qt::Key_Minus);
        QCOMPARE(rset->text(), QStringLiteral("1000"));
    }

    // Clipboard text of any kind, pasted into every input box of a few
    // windows: the window stays, and no result shows an undefined number.
    void anyClipboardText_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("clip");
        const QString binary = QString::fromLatin1(QByteArray("\x01\x02\x7f\xff\x80\t9\r\n", 9));
        const struct {
            const char* tag;
            QString text;
        } clips[] = {
            {"empty", QString()},
            {"huge", QString(200000, u'7')},
            {"binary", binary},
            {"400 digits", QString(400, u'9')},
            {"letters", QStringLiteral("abc")},
        };
        for (const char* window : {"psutil_lm317", "psutil_lt1761", "psutil_quickeff", "psutil_inductorcore",
                                   "ctrl_7695_hp34401"})
            for (const auto& c : clips)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(window), QLatin1String(c.tag))))
                    << QString::fromLatin1(window) << c.text;
    }
    void anyClipboardText()
    {
        QFETCH(QString, window);
        QFETCH(QString, clip);
        popup(window);
        ToolWindow& w = windowFor(window);
        QWidget* form = w.form();
        int boxes = 0;
        for (QLineEdit* box : form->findChildren<QLineEdit*>()) {
            if (box->isReadOnly() || !box->isEnabled() || !box->isVisibleTo(form))
                continue;
            pasteOver(box, clip);
            QTest::keyClick(box, Qt::Key_Tab);
            QVERIFY(w.isLoaded());
            const QString bad = badResult(form);
            QVERIFY2(bad.isEmpty(), qPrintable(box->objectName() + QStringLiteral(": ") + bad));
            ++boxes;
        }
        QVERIFY(boxes > 0);
    }

    // The window's own reading of a pasted text: its leading number, and the
    // results of a value the formulas cannot take.
    void pastedTextIsRead_data()
    {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("vmin");
        QTest::newRow("leading number") << QStringLiteral("1000 ohms") << QStringLiteral("6.444");
        QTest::newRow("no number reads 0") << QStringLiteral("abc") << QStringLiteral("1.250");
        QTest::newRow("400 digits") << QString(400, u'9') << QStringLiteral("---");
    }
    void pastedTextIsRead()
    {
        QFETCH(QString, clip);
        QFETCH(QString, vmin);
        popup(QStringLiteral("PSUtil_lm317"));
        ToolWindow& w = windowFor(QStringLiteral("psutil_lm317"));
        QLineEdit* rset = boxNamed(w, QStringLiteral("spec_2"));
        pasteOver(rset, clip);
        QCOMPARE(rset->text(), clip);
        QCOMPARE(boxNamed(w, QStringLiteral("spec_4"))->text(), vmin);
    }
};

VOLTARIS_TEST(TestEditingShortcuts);
#include "test_editingshortcuts.moc"
