// Lists that take no typing take none when dropped down either: a key
// typed into the open list would find an item, and Enter would choose it.

#include "support/alertsink.h"
#include "support/testmain.h"
#include "windowwalk.h"


#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTest>

namespace {
// Keys as the keyboard delivers them: to the open list when one is
// dropped down, else to whatever holds the focus.
void key(int k)
{
    if (QWidget* popup = QApplication::activePopupWidget())
        QTest::keyClick(popup->windowHandle(), Qt::Key(k));
    else if (QWidget* f = QApplication::focusWidget())
        QTest::keyClick(f, Qt::Key(k));
}

bool dropDown(QComboBox* list)
{
    list->showPopup();
    return QTest::qWaitFor([&] { return QApplication::activePopupWidget() != nullptr; });
}

bool isUp()
{
    return QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; });
}

// A character that would find another item of list than the current one
// (the first letter of such an item), or 0.
int searchKey(const QComboBox* list)
{
    const QString current = list->currentText();
    for (int i = 0; i < list->count(); ++i) {
        const QString t = list->itemText(i);
        if (i != list->currentIndex() && !t.isEmpty() && t[0].unicode() > 32 && t[0].unicode() < 127
            && (current.isEmpty() || t[0].toUpper() != current[0].toUpper()))
            return t[0].toUpper().unicode();
    }
    return 0;
}
} // namespace

class TestListTyping : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(frameActive()); }
    void cleanup()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        unloadAllWindows();
    }

    // The sniffer's buffer depth: typing "3" into the open list and
    // pressing Enter leaves the depth alone; the arrows, Enter and Escape
    // work the list.
    void snifferDepth()
    {
        AlertSink alerts;
        mainWindow().popup(QStringLiteral("Ctrl_8546_rs232sniffer"));
        ToolWindow& w = windowFor(QStringLiteral("ctrl_8546_rs232sniffer"));
        QVERIFY(w.isLoaded());
        auto* depth = w.form()->findChild<QComboBox*>(QStringLiteral("bdepth"));
        auto* page = w.form()->findChild<QScrollBar*>(QStringLiteral("bposition"));
        QVERIFY(depth && page);
        QCOMPARE(depth->currentText(), QStringLiteral("1024"));
        const int pageMax = page->maximum();

        QVERIFY(dropDown(depth));
        key(Qt::Key_3);
        key(Qt::Key_Enter);
        QVERIFY(isUp());
        QCOMPARE(depth->currentText(), QStringLiteral("1024"));
        QCOMPARE(page->maximum(), pageMax);

        QVERIFY(dropDown(depth));
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QVERIFY(isUp());
        QCOMPARE(depth->currentText(), QStringLiteral("2048"));
        QCOMPARE(page->maximum(), pageMax + 1024);

        QVERIFY(dropDown(depth));
        key(Qt::Key_Down);
        key(Qt::Key_Escape);
        QVERIFY(isUp());
        QCOMPARE(depth->currentText(), QStringLiteral("2048"));
        QVERIFY(alerts.titles.isEmpty());
    }

    // Every list of every window that takes no typing when closed (the
    // port and rate selectors, the air-core coil's Turns, the unit
    // selectors...) takes none when open. The windows' own handling is
    // kept out of the walk.
    void everyListThatTakesNoTyping()
    {
        AlertSink alerts;
        int lists = 0;
        QStringList wrong;
        forEachShownWindow([&](const WindowEntry& e, ToolWindow&, QWidget* form) {
            for (QComboBox* list : form->findChildren<QComboBox*>()) {
                if (list->objectName().isEmpty() || list->isEditable() || !list->isEnabled()
                    || !list->isVisibleTo(form))
                    continue;
                const int k = searchKey(list);
                if (!k)
                    continue;
                const QSignalBlocker quiet(list);
                const int before = list->currentIndex();
                list->setFocus();
                key(k);
                if (list->currentIndex() != before) {
                    list->setCurrentIndex(before); // this list takes typing
                    continue;
                }
                ++lists;
                // Typed into the open list, the key highlights nothing
                // else, so Enter would choose what it chose before.
                if (!dropDown(list)) {
                    wrong << e.name + u' ' + list->objectName() + QStringLiteral(": no popup");
                    continue;
                }
                const QModelIndex lit = list->view()->currentIndex();
                key(k);
                const QModelIndex after = list->view()->currentIndex();
                key(Qt::Key_Escape);
                if (!isUp())
                    wrong << e.name + u' ' + list->objectName() + QStringLiteral(": Escape left it open");
                if (after != lit)
                    wrong << QStringLiteral("%1 %2: typing %3 found %4")
                                 .arg(e.name, list->objectName(), QString(QChar(k)), after.data().toString());
                if (list->currentIndex() != before)
                    wrong << e.name + u' ' + list->objectName() + QStringLiteral(": Escape chose ") + list->currentText();
            }
        });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        QVERIFY2(lists >= 20, qPrintable(QString::number(lists)));
    }
};

VOLTARIS_TEST(TestListTyping);
#include "test_listtyping.moc"
