#include "support/alertsink.h"
#include "support/testmain.h"

#include "app/windowtable.h"
#include "common/formbuilder.h"
#include "common/toolwindow.h"

#include <QFontInfo>
#include <QTest>

// Every fixed-pitch box of every window shows the one named fixed face, so
// that screens and tests do not depend on which other fonts a machine has.
class TestFixedFace : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theFaceIsThere()
    {
        const QFontInfo info(fixedFont());
        QCOMPARE(info.family(), QStringLiteral("Liberation Mono"));
        QVERIFY(info.fixedPitch());
        QCOMPARE(info.pixelSize(), 12);
    }

    // A box in any other fixed-pitch face took the machine's "monospace"
    // (or a face by another name) rather than the program's own.
    void everyFixedBoxUsesIt()
    {
        AlertSink alerts; // a window that alerts on load must not block the walk
        QStringList wrong;
        int fixed = 0;
        for (const WindowEntry& e : windowTable()) {
            ToolWindow& w = e.instance();
            w.load();
            if (!w.isLoaded())
                continue;
            for (QWidget* c : w.form()->findChildren<QWidget*>()) {
                const QFontInfo info(c->font());
                const bool asksFixed = c->font().styleHint() == QFont::TypeWriter;
                if (!asksFixed && !info.fixedPitch())
                    continue;
                ++fixed;
                if (info.family() != QStringLiteral("Liberation Mono"))
                    wrong << QStringLiteral("%1 %2: %3").arg(e.name, c->objectName(), info.family());
            }
            w.unload();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        QVERIFY(fixed > 0);
    }
};

VOLTARIS_TEST(TestFixedFace);
#include "test_fixedface.moc"
