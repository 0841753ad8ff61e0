#include "support/testmain.h"

#include "app/windowtable.h"
#include "common/rtfview.h"
#include "common/toolwindow.h"
#include "fixtures/ctrl_9804_effsweeperdoc.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <climits>

namespace {
QString describe(QWidget* w, const QString& text, QSize need, QSize room)
{
    return QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
        .arg(w->objectName(), text)
        .arg(need.width())
        .arg(need.height())
        .arg(room.width())
        .arg(room.height());
}

// The room a label draws its text in, as QLabel computes it.
QRect labelTextRect(const QLabel* l)
{
    QRect r = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    int indent = l->indent();
    if (indent < 0 && l->frameWidth() > 0)
        indent = QFontMetrics(l->font()).horizontalAdvance(u'x') / 2;
    if (indent > 0) {
        const Qt::Alignment a = QStyle::visualAlignment(l->layoutDirection(), l->alignment());
        if (a & Qt::AlignLeft)
            r.setLeft(r.left() + indent);
        if (a & Qt::AlignRight)
            r.setRight(r.right() - indent);
        if (a & Qt::AlignTop)
            r.setTop(r.top() + indent);
        if (a & Qt::AlignBottom)
            r.setBottom(r.bottom() - indent);
    }
    return r;
}

// Empty when the label's caption fits; else what it needs.
QString labelMisfit(QLabel* l)
{
    const QString text = l->text();
    if (text.isEmpty())
        return {};
    const QRect room = labelTextRect(l);
    QSize need;
    const bool rich = l->textFormat() == Qt::RichText
        || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(text);
        if (l->wordWrap())
            doc.setTextWidth(room.width());
        need = QSize(int(std::ceil(doc.idealWidth())), int(std::ceil(doc.size().height())));
    } else {
        const QFontMetrics fm(l->font());
        if (l->wordWrap())
            need = fm.boundingRect(QRect(0, 0, room.width(), INT_MAX), Qt::TextWordWrap | int(l->alignment()), text).size();
        else
            need = fm.size(0, text);
    }
    if (need.width() <= room.width() && need.height() <= room.height())
        return {};
    return describe(l, text, need, room.size());
}

// Empty when the button's caption fits inside the part of the button its
// style draws the caption in.
QString buttonMisfit(QAbstractButton* b)
{
    const QString text = b->text();
    if (text.isEmpty())
        return {};
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = text;
    QStyle::SubElement part = QStyle::SE_PushButtonContents;
    if (qobject_cast<QCheckBox*>(b)) {
        part = QStyle::SE_CheckBoxContents;
    } else if (qobject_cast<QRadioButton*>(b)) {
        part = QStyle::SE_RadioButtonContents;
    } else if (auto* p = qobject_cast<QPushButton*>(b)) {
        if (p->isFlat())
            opt.features |= QStyleOptionButton::Flat;
        if (p->autoDefault())
            opt.features |= QStyleOptionButton::AutoDefaultButton;
    }
    const QRect room = b->style()->subElementRect(part, &opt, b);
    const QSize need = QFontMetrics(b->font()).size(Qt::TextShowMnemonic, text);
    if (need.width() <= room.width() && need.height() <= room.height())
        return {};
    return describe(b, text, need, room.size());
}

// Every caption of a form that does not fit its control.
QStringList misfits(QWidget* form)
{
    QStringList out;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        QString m;
        if (auto* l = qobject_cast<QLabel*>(w))
            m = labelMisfit(l);
        else if (auto* b = qobject_cast<QAbstractButton*>(w);
                 b && (qobject_cast<QPushButton*>(b) || qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)))
            m = buttonMisfit(b);
        if (!m.isEmpty())
            out << m;
    }
    return out;
}
// A control of a form: a widget the window made and named, not one of the
// parts Qt builds inside its own widgets.
bool isControl(const QWidget* w)
{
    const QString n = w->objectName();
    return !n.isEmpty() && !n.startsWith(QLatin1String("qt_")) && !w->isWindow();
}

// The controls directly under a container.
QList<QWidget*> controlsUnder(QWidget* parent)
{
    QList<QWidget*> out;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && isControl(w))
            out << w;
    }
    return out;
}

// The room a container gives its controls: the form its design size, a tab
// page the tab widget's area below its tabs (Qt sizes the pages only once
// the form is on screen), any other container its own size.
QSize roomIn(const QWidget* parent, const QWidget* form)
{
    if (parent == form)
        return form->minimumSize();
    const QWidget* stack = parent->parentWidget();
    if (auto* tabs = qobject_cast<const QTabWidget*>(stack ? stack->parentWidget() : nullptr);
        tabs && tabs->indexOf(const_cast<QWidget*>(parent)) >= 0) {
        const int frame = tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tabs);
        return tabs->size() - QSize(2 * frame, tabs->tabBar()->sizeHint().height() + 2 * frame);
    }
    return parent->size();
}

// The part of a control a user sees as it. A label that paints no
// background shows only its text, so the blank margin around a caption may
// run over a neighbour without hiding anything.
QRect seenRect(const QWidget* w)
{
    const auto* l = qobject_cast<const QLabel*>(w);
    if (!l || l->autoFillBackground() || l->frameWidth() > 0 || l->text().isEmpty() || !l->pixmap().isNull())
        return w->geometry();
    const QRect room = labelTextRect(l);
    const QFontMetrics fm(l->font());
    QSize text = l->wordWrap()
        ? fm.boundingRect(QRect(0, 0, room.width(), INT_MAX), Qt::TextWordWrap | int(l->alignment()), l->text()).size()
        : fm.size(0, l->text());
    text = text.boundedTo(room.size());
    const QRect inLabel = QStyle::alignedRect(l->layoutDirection(), l->alignment(), text, room);
    return inLabel.translated(l->pos());
}

QString rectText(const QRect& r)
{
    return QStringLiteral("(%1,%2 %3x%4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Sibling pairs a window stacks on purpose, each with the design's words
// that place them so. A pair is named "window:first+second" in either order.
struct Stacked {
    const char* pair;
    const char* because;
};
// A "#" stands for the same array index on both sides.
const Stacked intended[] = {
    {"PIC_picpins:hider+SSTab1",
     "A text box hider, placed on the window behind the tabbed control where the user cannot see it"},
    {"Ctrl_9693_lumatile:segment_#+Line1_#", "segment(k-1) lies over Line1(k-1)"},
    {"RLC_rcolor:outline_2+bcolor_49", "one drawn around the gold and silver swatches of B3"},
    {"RLC_rcolor:outline_2+bcolor_50", "one drawn around the gold and silver swatches of B3"},
    {"RLC_rcolor:outline_3+bcolor_51", "and one around those of B4"},
    {"RLC_rcolor:outline_3+bcolor_52", "and one around those of B4"},
    {"RLC_rcolor:lead+body", "the window paints the chosen colours on a drawing of a resistor"},
};

// "name_7" -> ("name_#", "7"); other names stand as they are.
std::pair<QString, QString> indexed(const QString& name)
{
    const int cut = name.lastIndexOf(u'_');
    bool number = false;
    if (cut > 0)
        name.mid(cut + 1).toInt(&number);
    if (!number)
        return {name, QString()};
    return {name.left(cut + 1) + u'#', name.mid(cut + 1)};
}

bool isIntended(const QString& window, const QString& a, const QString& b)
{
    const auto [ga, ia] = indexed(a);
    const auto [gb, ib] = indexed(b);
    const bool sameIndex = !ia.isEmpty() && ia == ib;
    for (const Stacked& s : intended) {
        const QString p = QString::fromLatin1(s.pair);
        for (const auto& [x, y] : {std::pair{a, b}, std::pair{b, a}})
            if (p == window + u':' + x + u'+' + y)
                return true;
        if (sameIndex && (p == window + u':' + ga + u'+' + gb || p == window + u':' + gb + u'+' + ga))
            return true;
    }
    return false;
}

// Every control that leaves its container's area, and every two sibling
// controls that overlap without being listed as stacked on purpose.
QStringList layoutFaults(const QString& window, QWidget* form)
{
    QStringList out;
    QList<QWidget*> containers{form};
    while (!containers.isEmpty()) {
        QWidget* parent = containers.takeFirst();
        // A tab widget places its pages itself; what is on each page counts,
        // whichever page is showing.
        if (auto* tabs = qobject_cast<QTabWidget*>(parent)) {
            for (int i = 0; i < tabs->count(); ++i)
                containers << tabs->widget(i);
            continue;
        }
        const QSize room = roomIn(parent, form);
        QList<QWidget*> visible;
        for (QWidget* w : controlsUnder(parent)) {
            // Hidden controls and those in hidden containers do not count.
            if (!w->isVisibleTo(parent))
                continue;
            visible << w;
            containers << w;
            if (!QRect(QPoint(0, 0), room).contains(w->geometry()))
                out << QStringLiteral("%1 %2 lies outside %3 (0,0 %4x%5)")
                           .arg(w->objectName(), rectText(w->geometry()), parent->objectName())
                           .arg(room.width())
                           .arg(room.height());
        }
        for (int i = 0; i < visible.size(); ++i) {
            for (int j = i + 1; j < visible.size(); ++j) {
                QWidget* a = visible.at(i);
                QWidget* b = visible.at(j);
                if (!seenRect(a).intersects(seenRect(b)))
                    continue;
                if (isIntended(window, a->objectName(), b->objectName()))
                    continue;
                out << QStringLiteral("%1 %2 overlaps %3 %4")
                           .arg(a->objectName(), rectText(a->geometry()), b->objectName(), rectText(b->geometry()));
            }
        }
    }
    return out;
}

// Entries of a drop-down list that the closed box cannot tell apart: it
// shows only the characters that fit, so two entries that differ past them
// look the same.
QStringList cutEntries(QWidget* form)
{
    QStringList out;
    for (QComboBox* c : form->findChildren<QComboBox*>()) {
        if (!isControl(c) || !c->isVisibleTo(form))
            continue;
        QStyleOptionComboBox opt;
        opt.initFrom(c);
        opt.editable = c->isEditable();
        const QRect field = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
        // The closed box draws its text inset by the style's margin.
        const int room = field.width() - (c->isEditable() ? 4 : 0);
        const QFontMetrics fm(c->font());
        // What the closed box shows of each entry: the characters that fit.
        QHash<QString, QString> seen;
        for (int i = 0; i < c->count(); ++i) {
            const QString text = c->itemText(i);
            QString shows = text;
            while (!shows.isEmpty() && fm.horizontalAdvance(shows) > room)
                shows.chop(1);
            const auto other = seen.constFind(shows);
            if (other != seen.cend() && *other != text)
                out << QStringLiteral("%1 entries \"%2\" and \"%3\" both show as \"%4\"")
                           .arg(c->objectName(), *other, text, shows);
            seen.insert(shows, text);
        }
    }
    return out;
}

// Empty when the page a text box shows fits its width; else what it needs.
// Pages break lines only at their own ends, so a longer line would need
// sideways scrolling.
QString pageMisfit(RtfView* box)
{
    box->ensurePolished();
    QTextDocument* doc = box->document();
    const int frame = 2 * box->frameWidth();
    const int high = box->height() - frame;
    int room = box->width() - frame;
    if (doc->size().height() > high)
        room -= box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box->verticalScrollBar());
    const qreal need = doc->idealWidth();
    if (need <= room)
        return {};
    // The longest line, to say which one.
    QString longest;
    qreal widest = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const qreal w = b.layout()->boundingRect().width();
        if (w > widest) {
            widest = w;
            longest = b.text();
        }
    }
    return QStringLiteral("%1 needs %2, has %3: \"%4\"").arg(box->objectName()).arg(need).arg(room).arg(longest.left(80));
}

// Every page of a window: the one each text box shows, and for a window
// with a topic list, the page of each topic.
QStringList pageMisfits(QWidget* form)
{
    QStringList out;
    const QList<RtfView*> boxes = form->findChildren<RtfView*>();
    auto check = [&](const QString& where) {
        for (RtfView* box : boxes)
            if (const QString m = pageMisfit(box); !m.isEmpty())
                out << where + m;
    };
    check(QString());
    if (auto* topics = form->findChild<QListWidget*>(QStringLiteral("helplist"))) {
        for (int row = 0; row < topics->count(); ++row) {
            topics->setCurrentRow(row);
            check(topics->item(row)->text() + QStringLiteral(": "));
        }
    }
    return out;
}
} // namespace

// What every window of the dispatcher table keeps at its design size, in
// the form's font: every caption fits its control; every control lies
// inside its form, and no two controls side by side cover each other unless
// the design stacks them; every drop-down entry can be told from the others
// in the closed box; every page fits its box's width.
class TestCaptionFit : public QObject {
    Q_OBJECT
    QTimer m_modalCloser;

private Q_SLOTS:
    void initTestCase()
    {
        // A window whose load raises an alert must not block the walk.
        m_modalCloser.setInterval(20);
        connect(&m_modalCloser, &QTimer::timeout, [] {
            if (QWidget* m = QApplication::activeModalWidget())
                m->close();
        });
        m_modalCloser.start();
    }
    void cleanupTestCase() { m_modalCloser.stop(); }

    void everyWindow_data()
    {
        QTest::addColumn<QString>("name");
        for (const WindowEntry& e : windowTable())
            QTest::newRow(qPrintable(e.name)) << e.name;
        // No table entry: the not-installed window, and the sweeper's help
        // page, which only the sweeper opens.
        QTest::newRow("not installed") << QStringLiteral("no such tool");
        QTest::newRow("sweeper help") << QStringLiteral("ctrl_9804_effsweeperdoc");
    }
    void everyWindow()
    {
        QFETCH(QString, name);
        ToolWindow& w = name == QLatin1String("ctrl_9804_effsweeperdoc")
            ? static_cast<ToolWindow&>(FormSlots::get<Ctrl_9804_effsweeperdoc>())
            : windowFor(name);
        w.load();
        QVERIFY(w.isLoaded());
        QWidget* form = w.formIfLoaded();
        const QStringList cut = misfits(form);
        const QStringList placed = layoutFaults(w.className(), form) + cutEntries(form);
        const QStringList pages = pageMisfits(form);
        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QString report;
        if (!cut.isEmpty())
            report += QStringLiteral("\ncaptions cut:\n  ") + cut.join(QStringLiteral("\n  "));
        if (!placed.isEmpty())
            report += QStringLiteral("\ncontrols misplaced:\n  ") + placed.join(QStringLiteral("\n  "));
        if (!pages.isEmpty())
            report += QStringLiteral("\npages too wide:\n  ") + pages.join(QStringLiteral("\n  "));
        if (!report.isEmpty())
            QFAIL(qPrintable(name + report));
    }

    // The About page's lines break only at their own ends; in the form's
    // face the longest of them fits the box without scrolling sideways.
    void aboutPageFitsItsBox()
    {
        ToolWindow& about = windowFor(QStringLiteral("z_about"));
        about.load();
        auto* box = about.form()->findChild<RtfView*>(QStringLiteral("aboutbox"));
        QVERIFY(box);
        QVERIFY(box->toPlainText().contains(QStringLiteral("1.00.46")));
        box->ensurePolished();
        const qreal need = box->document()->idealWidth();
        const int room = box->viewport()->width();
        about.unload();
        QVERIFY2(need <= room, qPrintable(QStringLiteral("page needs %1, box has %2").arg(need).arg(room)));
    }

    // The check itself: a caption one word too long for its button and a
    // wrapped label one line too short are found; ones with room are not.
    void misfitsAreFound()
    {
        QWidget form;
        form.setFont(QApplication::font());
        auto* tight = new QPushButton(QStringLiteral("A caption far too long"), &form);
        tight->setGeometry(0, 0, 40, 25);
        auto* roomy = new QPushButton(QStringLiteral("OK"), &form);
        roomy->setGeometry(0, 30, 120, 25);
        auto* wrapped = new QLabel(QStringLiteral("several words that wrap onto more lines than fit"), &form);
        wrapped->setWordWrap(true);
        wrapped->setGeometry(0, 60, 80, 20);
        auto* check = new QCheckBox(QStringLiteral("Enable the thing"), &form);
        check->setGeometry(0, 90, 200, 20);
        const QStringList bad = misfits(&form);
        QCOMPARE(bad.size(), 2);
        QVERIFY(bad.at(0).contains(QStringLiteral("far too long")) || bad.at(1).contains(QStringLiteral("far too long")));
        QVERIFY(bad.join(u' ').contains(QStringLiteral("several words")));
    }

    // The layout check itself: a box over another, a button past the
    // form's edge and a list whose entries differ past what it shows are
    // found; a label's blank margin over the box below it, and a pair the
    // design stacks, are not.
    void layoutFaultsAreFound()
    {
        QWidget form;
        form.setFont(QApplication::font());
        form.setMinimumSize(300, 200);
        form.resize(form.minimumSize());
        auto make = [&form](QWidget* w, const char* name, QRect r) {
            w->setParent(&form);
            w->setObjectName(QString::fromLatin1(name));
            w->setGeometry(r);
            return w;
        };
        make(new QLineEdit, "first", {10, 10, 100, 20});
        make(new QLineEdit, "second", {60, 15, 100, 20});
        make(new QPushButton(QStringLiteral("Go")), "past", {250, 100, 80, 25});
        auto* caption = static_cast<QLabel*>(make(new QLabel(QStringLiteral("Caption")), "caption", {10, 60, 100, 30}));
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        make(new QLineEdit, "under", {10, 85, 100, 20});
        make(new QLineEdit, "hider", {10, 120, 20, 20});
        make(new QWidget, "SSTab1", {0, 115, 200, 40});
        auto* list = static_cast<QComboBox*>(make(new QComboBox, "list", {10, 160, 60, 22}));
        list->addItems({QStringLiteral("00000000"), QStringLiteral("0000000"), QStringLiteral("1")});
        const QString placed = layoutFaults(QStringLiteral("PIC_picpins"), &form).join(u'\n');
        QVERIFY2(placed.contains(QStringLiteral("first")) && placed.contains(QStringLiteral("second")), qPrintable(placed));
        QVERIFY(placed.contains(QStringLiteral("past")));
        QVERIFY(!placed.contains(QStringLiteral("caption")));
        QVERIFY(!placed.contains(QStringLiteral("hider")));
        QCOMPARE(placed.count(u'\n'), 1);
        // The same pair in a window that does not stack it is a fault.
        QVERIFY(layoutFaults(QStringLiteral("Other"), &form).join(u' ').contains(QStringLiteral("hider")));
        const QStringList entries = cutEntries(&form);
        QCOMPARE(entries.size(), 1);
        QVERIFY(entries.first().contains(QStringLiteral("\"00000000\" and \"0000000\"")));
    }

    // What stands on a tab widget's pages is checked too, on every page,
    // against the area below the tabs.
    void tabPagesAreLookedInto()
    {
        QWidget form;
        form.setMinimumSize(300, 200);
        form.resize(form.minimumSize());
        auto* tabs = new QTabWidget(&form);
        tabs->setObjectName(QStringLiteral("tabs"));
        tabs->setGeometry(0, 0, 300, 200);
        for (int p = 0; p < 2; ++p) {
            auto* page = new QWidget;
            page->setObjectName(QStringLiteral("page_%1").arg(p));
            tabs->addTab(page, QStringLiteral("Page %1").arg(p));
        }
        auto put = [](QWidget* page, const char* name, QRect r) {
            auto* box = new QLineEdit(page);
            box->setObjectName(QString::fromLatin1(name));
            box->setGeometry(r);
        };
        put(tabs->widget(0), "fits", {10, 10, 100, 20});
        put(tabs->widget(1), "left", {10, 10, 100, 20});
        put(tabs->widget(1), "right", {60, 15, 100, 20});
        // Inside the tab widget, but down where the tabs take their row.
        put(tabs->widget(1), "low", {10, 180, 100, 20});
        const QString placed = layoutFaults(QStringLiteral("Other"), &form).join(u'\n');
        QVERIFY2(placed.contains(QStringLiteral("left")) && placed.contains(QStringLiteral("right")), qPrintable(placed));
        QVERIFY2(placed.contains(QStringLiteral("low")), qPrintable(placed));
        QVERIFY(!placed.contains(QStringLiteral("fits")));
    }
};

VOLTARIS_TEST(TestCaptionFit);
#include "test_captionfit.moc"
