#include "util_ant16print.h"

#include "common/alert.h"
#include "common/commondialog.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/paths.h"
#include "common/textlines.h"
#include "common/verror.h"
#include "common/z_selectfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryFile>

#include <array>

namespace {
// A capture is about 70 kB; far larger files are read only this far.
constexpr qint64 maxCaptureBytes = 64 * 1024 * 1024;
const QString title = QStringLiteral("Ant16 to PDF printer");
constexpr int tickIndex = ant16::channels;
} // namespace

struct Util_ant16print::Ui : Controls {
    std::array<QPushButton*, 6> cmmd{};
    std::array<QCheckBox*, ant16::channels + 1> channelselect{};
    QLineEdit* Heading = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* resolution = nullptr;
    QComboBox* units = nullptr;
    QLineEdit* tickfrequency = nullptr;
};

Util_ant16print::Util_ant16print() : ToolWindow(QStringLiteral("Util_ant16print"), QSize(9000, 3900))
{
}

Util_ant16print::Ui* Util_ant16print::ui() const
{
    return controls<Ui>();
}

void Util_ant16print::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("ANT16 CSV to PDF (11x17 @ 1200 DPI)"));
    auto* u = makeControls<Ui>();
    for (int i = 0; i < ant16::channels; ++i) {
        auto* c = place<QCheckBox>(form, arrayName(QStringLiteral("channelselect"), i), 120 + 2280 * (i / 8),
                                   120 + 300 * (i % 8), 2160, 255);
        c->setText(QStringLiteral("Channel %1").arg(i));
        u->channelselect[size_t(i)] = c;
    }
    auto* ticks = place<QCheckBox>(form, arrayName(QStringLiteral("channelselect"), tickIndex), 4800, 1080, 1800, 255);
    ticks->setText(QStringLiteral("Tick marks"));
    u->channelselect[tickIndex] = ticks;

    const std::pair<int, const char*> buttons[] = {{0, "Load"}, {3, "Print"}, {4, "All"}, {5, "None"}};
    for (const auto& [index, caption] : buttons) {
        const int slot = index == 0 ? 0 : index - 2; // 0, 1, 2, 3 on the form
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("cmmd"), index), 4800 + 1200 * (slot % 2),
                                     120 + 480 * (slot / 2), 1095, 375);
        b->setText(QString::fromLatin1(caption));
        on(b, &QPushButton::clicked, [this, i = index] { cmmd_Click(i); });
        u->cmmd[size_t(index)] = b;
    }

    placeLabel(form, QStringLiteral("Sample time:"), 4800, 1500, 1215, 255, QStringLiteral("Label1"));
    u->resolution = place<QLineEdit>(form, QStringLiteral("resolution"), 6120, 1470, 855, 315);
    u->resolution->setText(QStringLiteral("100"));
    u->units = place<QComboBox>(form, QStringLiteral("units"), 7080, 1470, 855, 315);
    u->units->addItems({QStringLiteral("nS"), QStringLiteral("uS"), QStringLiteral("mS")});
    placeLabel(form, QStringLiteral("Samples/tick:"), 4800, 1920, 1215, 255, QStringLiteral("Label2"));
    u->tickfrequency = place<QLineEdit>(form, QStringLiteral("tickfrequency"), 6120, 1890, 855, 315);
    u->tickfrequency->setText(QStringLiteral("100"));

    placeLabel(form, QStringLiteral("Heading:"), 120, 2640, 1215, 255, QStringLiteral("Label3"));
    u->Heading = place<QLineEdit>(form, QStringLiteral("Heading"), 120, 2880, 8760, 315);
    u->Text1 = place<QLineEdit>(form, QStringLiteral("Text1"), 120, 3360, 8760, 315);
    setOutputBox(u->Text1);
}

void Util_ant16print::onLoad()
{
    auto* u = ui();
    for (int i = 0; i < ant16::channels; ++i)
        u->channelselect[size_t(i)]->setChecked(false);
    m_filename = joinpath(worktemp(), QStringLiteral("ant16.csv"));
    u->units->setCurrentIndex(0);
}

void Util_ant16print::cmmd_Click(int index)
{
    auto* u = ui();
    switch (index) {
    case 0:
        load();
        break;
    case 3:
        if (!m_filename.isEmpty())
            printtiming();
        break;
    case 4:
    case 5:
        for (int i = 0; i < ant16::channels; ++i)
            u->channelselect[size_t(i)]->setChecked(index == 4);
        break;
    default:
        break;
    }
}

void Util_ant16print::load()
{
    const QString path =
        selectfile(QString(), QStringLiteral("*.csv"), worktemp(), QStringLiteral("Select Ant16 CSV file"));
    if (path.isEmpty() || !ui())
        return;
    const TextLines file = readTextLines(path, maxCaptureBytes, TextLines::NoLines);
    if (file.status == TextLines::TooLarge)
        alertbox(title, toolargetext(path, maxCaptureBytes), 0);
    if (!file.ok())
        return;
    const ant16::Header h = ant16::readHeader(file.lines);
    if (h.status == ant16::Header::NotCapture)
        return;
    if (h.status == ant16::Header::Short) {
        alertbox(title, QStringLiteral("%1 ends at line %2, before the channel names of line %3.")
                            .arg(path)
                            .arg(file.lines.size())
                            .arg(ant16::headerLines),
                 0);
        return;
    }
    auto* u = ui();
    u->Heading->setText(h.heading);
    for (int i = 0; i < ant16::channels; ++i)
        u->channelselect[size_t(i)]->setText(h.names[size_t(i)]);
    m_filename = path;
    u->Text1->setText(path.toUpper());
}

ant16::Options Util_ant16print::options() const
{
    auto* u = ui();
    ant16::Options o;
    for (int i = 0; i < ant16::channels; ++i) {
        o.printed[size_t(i)] = u->channelselect[size_t(i)]->isChecked();
        o.names[size_t(i)] = u->channelselect[size_t(i)]->text();
    }
    o.heading = u->Heading->text();
    o.ticks = u->channelselect[tickIndex]->isChecked();
    o.tickfrequency = u->tickfrequency->text();
    o.resolution = u->resolution->text();
    o.unitIndex = u->units->currentIndex();
    return o;
}

void Util_ant16print::printtiming()
{
    if (m_filename.isEmpty() || !fileexists(m_filename)) {
        beep();
        return;
    }
    const TextLines file = readTextLines(m_filename, maxCaptureBytes, TextLines::NoLines);
    if (file.status == TextLines::TooLarge) {
        // Grown past the cap since it was chosen: no partial chart.
        alertbox(title, toolargetext(m_filename, maxCaptureBytes), 0);
        return;
    }
    if (file.status != TextLines::Ok) {
        beep();
        return;
    }
    const ant16::Options o = options();
    const ant16::Capture capture = ant16::readCapture(file.lines, o.printed);
    if (!capture.problem.isEmpty()) {
        alertbox(title, QStringLiteral("Cannot print %1: %2.").arg(m_filename, capture.problem), 0);
        return;
    }
    const QString problem = ant16::optionsProblem(o);
    if (!problem.isEmpty()) {
        alertbox(title, problem, 0);
        return;
    }

    CommonDialog box;
    box.DialogTitle = QStringLiteral("Save the timing chart as PDF");
    box.InitDir = worktemp();
    box.FileName = pathpart(m_filename, 1) + QStringLiteral(".pdf");
    box.Filter = QStringLiteral("PDF files (*.pdf)|*.pdf");
    box.DefaultExt = QStringLiteral("pdf");
    box.Flags = cdl::OverwritePrompt | cdl::HideReadOnly | cdl::PathMustExist;
    box.CancelError = true;
    try {
        box.ShowSave();
    } catch (const VError& e) {
        if (e.number() != cdl::Cancel)
            throw;
        return;
    }
    if (box.FileName.isEmpty())
        return;
    printPdf(box.FileName, ant16::buildChart(capture.levels, o));
}

bool Util_ant16print::printPdf(const QString& path, const ant16::Chart& chart)
{
    const QString why = notafile(path);
    if (!why.isEmpty()) {
        alertbox(title, QStringLiteral("Cannot write %1: %2.").arg(path, why), 0);
        return false;
    }
    // The printer writes into a scratch file; the chart replaces the named
    // file only when complete, so a failed print leaves an old PDF whole.
    QTemporaryFile scratch(joinpath(worktemp(), QStringLiteral("ant16-XXXXXX.pdf")));
    if (!scratch.open()) {
        alertbox(title, QStringLiteral("Cannot write %1: no room for the print in %2.").arg(path, worktemp()), 0);
        return false;
    }
    scratch.close();
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(scratch.fileName());
        printer.setResolution(ant16::dpi);
        printer.setCopyCount(1);
        printer.setFullPage(true);
        printer.setPageLayout(QPageLayout(
            QPageSize(QSizeF(ant16::pageWidth, ant16::pageHeight) / ant16::dpi, QPageSize::Inch,
                      QStringLiteral("Ledger"), QPageSize::ExactMatch),
            QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&printer)) {
            alertbox(title, QStringLiteral("Cannot write %1: the print could not start.").arg(path), 0);
            return false;
        }
        ant16::paintChart(painter, chart);
        painter.end();
    }
    QFile done(scratch.fileName());
    if (!done.open(QIODevice::ReadOnly)) {
        alertbox(title, QStringLiteral("Cannot write %1: the print was lost.").arg(path), 0);
        return false;
    }
    try {
        writefile(path, done.readAll());
    } catch (const VError& e) {
        alertbox(title, e.description(), 0);
        return false;
    }
    return true;
}
