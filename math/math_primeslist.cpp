#include "math_primeslist.h"
#include "slicing.h"
#include "primelisting.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/clock.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/primes.h"
#include "common/slicedtext.h"
#include "common/timeslice.h"
#include "common/z_selectfile.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

#include <array>
#include <cmath>
#include <new>

struct Math_primeslist::Ui : Controls {
    QLineEdit* ulimit = nullptr;
    QLineEdit* dlimit = nullptr;
    QCheckBox* list16bit = nullptr;
    QCheckBox* wrfile = nullptr;
    QLineEdit* opfile = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* listcount = nullptr;
    QPlainTextEdit* odata = nullptr;
};

namespace {
const QString formatting = QStringLiteral("Formatting data for the list...");
// Lines of the prime file made between two looks at the clock.
constexpr int kFileBlock = 4096;
// The most bytes a prime list may take; below 0, as much as can be had.
qint64 g_listCap = -1;
} // namespace

void Math_primeslist::setListMemoryCap(qint64 bytes)
{
    g_listCap = bytes;
}

Math_primeslist::Math_primeslist() : ToolWindow(QStringLiteral("Math_primeslist"), QSize(7680, 7200)) {}

Math_primeslist::Ui* Math_primeslist::ui() const
{
    return controls<Ui>();
}

void Math_primeslist::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Prime number lister"));
    auto* u = makeControls<Ui>();

    placeLabel(form, QStringLiteral("Find the first"), 120, 180, 1260, 255, QStringLiteral("Label1"));
    u->ulimit = place<QLineEdit>(form, QStringLiteral("ulimit"), 1440, 120, 1215, 345);
    u->ulimit->setText(QStringLiteral("6542"));
    u->ulimit->setToolTip(QStringLiteral("6542 is the number of primes up to 65535"));
    placeLabel(form, QStringLiteral("prime numbers"), 2760, 180, 1320, 255, QStringLiteral("Label2"));

    placeLabel(form, QStringLiteral("Display the last"), 120, 660, 1260, 255, QStringLiteral("Label3"));
    u->dlimit = place<QLineEdit>(form, QStringLiteral("dlimit"), 1440, 600, 1215, 345);
    u->dlimit->setText(QStringLiteral("6542"));
    placeLabel(form, QStringLiteral("prime numbers"), 2760, 660, 1320, 255, QStringLiteral("Label4"));

    std::array<QLineEdit*, 2> counts{u->ulimit, u->dlimit};
    for (int i = 0; i < 2; ++i) {
        onKeyPress(counts[size_t(i)], [this, i](int key) {
            if (key == 13) {
                asNumber(i);
                return 0;
            }
            return keyinteger(key);
        });
        onFocusOut(counts[size_t(i)], [this, i] { asNumber(i); });
    }

    u->list16bit = place<QCheckBox>(form, QStringLiteral("list16bit"), 4200, 150, 1800, 285);
    u->list16bit->setText(QStringLiteral("16 Bit primes"));
    u->list16bit->setToolTip(QStringLiteral("Will format all primes up to 65535 as Decimal, Hex and Binary"));
    u->wrfile = place<QCheckBox>(form, QStringLiteral("wrfile"), 4200, 630, 1800, 285);
    u->wrfile->setText(QStringLiteral("Output to file"));

    u->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 6120, 120, 1440, 825);
    u->Command1->setText(QStringLiteral("Compute"));
    u->Command1->setToolTip(QStringLiteral("Computes the number of primes within the specified bound and displays "
                                           "the first (65535) in Decimal, Hex and Binary"));
    on(u->Command1, &QPushButton::clicked, [this] { Command1_Click(); });

    u->opfile = place<QLineEdit>(form, QStringLiteral("opfile"), 120, 1080, 7440, 345);
    u->opfile->setText(joinpath(worktemp(), QStringLiteral("primes.txt")));
    onDoubleClick(u->opfile, [this] { opfile_DblClick(); });

    u->listcount = place<QLineEdit>(form, QStringLiteral("listcount"), 120, 1545, 7440, 345);

    u->odata = place<QPlainTextEdit>(form, QStringLiteral("odata"), 120, 2010, 7440, 5070);
    const QFont fixed = fixedFont(9);
    u->odata->setFont(fixed);
    u->odata->setLineWrapMode(QPlainTextEdit::NoWrap);
}

void Math_primeslist::onLoad()
{
    initchars();
}

void Math_primeslist::asNumber(int box)
{
    QLineEdit* b = box == 0 ? ui()->ulimit : ui()->dlimit;
    const QString text = plaindec(numval(b->text()));
    if (b->text() != text)
        b->setText(text);
}

void Math_primeslist::opfile_DblClick()
{
    auto* u = ui();
    const QString folder = pickfolder(pathpart(u->opfile->text(), 3), QStringLiteral("Select directory for writing primes"));
    if (!aborted())
        u->opfile->setText(joinpath(folder, QStringLiteral("Primes.txt")));
}

void Math_primeslist::Command1_Click()
{
    // A press that the event loop delivers while a search runs is ignored:
    // the running search owns the list and the boxes.
    if (m_running)
        return;
    const QScopedValueRollback<bool> running(m_running, true);
    compute();
}

void Math_primeslist::limitReached()
{
    alertbox(QStringLiteral("Math limit reached!"),
             QStringLiteral("The upper limit of the prime search requires more memory than is available for this "
                            "task, select a lower value!"),
             0);
    PrimeArray.clear();
    if (aborted())
        return;
    ui()->listcount->clear();
    ui()->odata->clear();
}

void Math_primeslist::compute()
{
    auto* u = ui();
    // A button click takes the focus from a count box, which rewrites it.
    asNumber(0);
    asNumber(1);
    if (numval(u->dlimit->text()) > primetext::kMaxShown)
        u->dlimit->setText(QString::number(primetext::kMaxShown));
    u->odata->clear();
    u->listcount->setText(QStringLiteral("Computing..."));
    form()->repaint();

    // Monotonic: a search across midnight reports its true length.
    const qint64 t0 = currentClock().tickMs();
    const double wanted = std::round(numval(u->ulimit->text()));
    if (!(wanted <= double(kMaxPrimeCount))) {
        limitReached();
        return;
    }
    const int n = wanted > 0 ? int(wanted) : 0;
    PrimeArray.clear();
    try {
        if (g_listCap >= 0 && (qint64(n) + 2) * qint64(sizeof(int32_t)) > g_listCap)
            throw std::bad_alloc();
        PrimeArray = QList<int32_t>(qsizetype(n) + 2, 0);
    } catch (const std::bad_alloc&) {
        limitReached();
        return;
    }
    primesearch(PrimeArray, n, primeYield());
    // Closed or quitting meanwhile: the search ended early; nothing is shown
    // or written from a partial list.
    if (aborted() || quitting())
        return;
    const qint64 t1 = currentClock().tickMs();
    u->listcount->setText(QStringLiteral("The first") + numstr(n) + QStringLiteral(" Primes computed: ") +
                          fmt(double(t1 - t0) / 1000.0, QStringLiteral("0.000")) + QStringLiteral(" S"));
    // The search ended within a slice of its own: the list starts a new one.
    TimeSlicer slicer(workSliceMs());
    if (!slicer.serve())
        return;
    if (u->list16bit->isChecked())
        showTable(n, slicer);
    else
        showList(n, slicer);
}

void Math_primeslist::showTable(int n, TimeSlicer& slicer)
{
    auto* u = ui();
    u->odata->setPlainText(formatting);
    const int count = primetext::tableCount(PrimeArray, n);
    QStringList lines = primetext::tableHeader();
    lines.reserve(count + 3);
    for (int i = 1; i <= count; ++i) {
        lines << primetext::tableLine(i, PrimeArray[i]);
        if (!slicer.yield())
            return;
    }
    fillTextBox(u->odata, lines.join(u'\n'), slicer);
}

void Math_primeslist::showList(int n, TimeSlicer& slicer)
{
    auto* u = ui();
    u->odata->setPlainText(formatting);
    form()->repaint();
    const int first = primetext::firstListed(n, numval(u->dlimit->text()));
    const int wi = int(u->ulimit->text().size());
    if (!fillTextBox(u->odata, primetext::listLines(PrimeArray, n, first, wi).join(u'\n'), slicer))
        return;
    if (!u->wrfile->isChecked())
        return;

    const QString kept = u->listcount->text();
    u->listcount->setText(QStringLiteral("Writing to file..."));
    form()->repaint();
    const QString path = u->opfile->text();
    // Made a block of lines at a time; closed or quitting meanwhile, no
    // file is written at all.
    QByteArray bytes;
    bytes.reserve(qsizetype(n) * 20);
    for (int from = 1; from <= n; from += kFileBlock) {
        primetext::appendFileLines(bytes, PrimeArray, from, qMin(n, from + kFileBlock - 1));
        if (!slicer.yield())
            return;
    }
    try {
        if (!writefileServing(path, bytes, slicer))
            return;
    } catch (const VError& e) {
        // The list stays; only the file is missing, and the alert says which.
        alertbox(QStringLiteral("File error"), e.description(), 0);
    }
    if (!aborted())
        u->listcount->setText(kept);
}
