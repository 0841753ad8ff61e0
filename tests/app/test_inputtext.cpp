// Text from the input method (a dead key and the letter after it, a
// compose sequence) reaches a box by another route than its keys. In every
// box of every window that takes such text, it must leave what the same
// characters typed as keys leave: no character the box's key filter
// refuses gets in that way.

#include "support/alertsink.h"
#include "support/testmain.h"
#include "support/typing.h"
#include "windowwalk.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {
// Letters a dead key or compose key makes, the dead keys' own marks,
// and plain characters most filters take or refuse.
const QString probe = QStringLiteral("\u00EA1\u00B4.a\u00E9^Z\u00E4-7\u00B9");

// The box's text after the probe typed at its end, starting from `start`.
QString typed(QLineEdit* box, const QString& start)
{
    box->setText(start);
    box->end(false);
    for (QChar c : probe)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    return box->text();
}

QString composed(QLineEdit* box, const QString& start)
{
    box->setText(start);
    box->end(false);
    commitInputText(box, QStringLiteral("^"), probe);
    return box->text();
}
} // namespace

class TestInputText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(frameActive()); }
    void cleanup() { unloadAllWindows(); }

    void everyBoxFiltersComposedText()
    {
        AlertSink alerts;
        int boxes = 0, filtered = 0;
        QStringList wrong;
        forEachShownWindow([&](const WindowEntry& e, ToolWindow&, QWidget* form) {
            for (QLineEdit* box : form->findChildren<QLineEdit*>()) {
                if (box->objectName().isEmpty() || !box->isEnabled() || !box->isVisibleTo(form)
                    || box->isReadOnly())
                    continue;
                giveFocus(box);
                if (!box->hasFocus() || !takesInputMethodText(box))
                    continue; // the platform hands this box keys, not text
                ++boxes;
                const QString start = box->text();
                const QString byKeys = typed(box, start);
                const QString byText = composed(box, start);
                if (byKeys != start + probe)
                    ++filtered;
                if (byText != byKeys)
                    wrong << QStringLiteral("%1 %2: keys leave \"%3\", input-method text \"%4\"")
                                 .arg(e.name, box->objectName(), byKeys, byText);
                box->setText(start);
            }
        });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        // The walk reached the windows' boxes, filtered ones among them.
        QVERIFY2(boxes >= 300 && filtered >= 200, qPrintable(QStringLiteral("%1 %2").arg(boxes).arg(filtered)));
    }
};

VOLTARIS_TEST(TestInputText);
#include "test_inputtext.moc"
