#include "support/testmain.h"

#include "app/windowtable.h"
#include "common/rtfview.h"
#include "common/toolwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextDocument>
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
} // namespace

// Every caption of every window, in the form's font, fits its control at
// the design size: the rule each window of the dispatcher table meets.
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
        // No table entry: the not-installed window.
        QTest::newRow("not installed") << QStringLiteral("no such tool");
    }
    void everyWindow()
    {
        QFETCH(QString, name);
        ToolWindow& w = windowFor(name);
        w.load();
        QVERIFY(w.isLoaded());
        QWidget* form = w.formIfLoaded();
        const QStringList bad = misfits(form);
        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!bad.isEmpty())
            QFAIL(qPrintable(QStringLiteral("captions cut in %1:\n  ").arg(name) + bad.join(QStringLiteral("\n  "))));
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
};

VOLTARIS_TEST(TestCaptionFit);
#include "test_captionfit.moc"
