#include "rlc_rparallelr.h"
#include "rparallel.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/pacing.h"
#include "common/rtfview.h"
#include "common/stdseries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

struct RLC_rparallelr::Ui : Controls {
    QLineEdit* rtarget = nullptr;
    QLineEdit* searchlimit = nullptr;
    QComboBox* resistorset = nullptr;
    QPushButton* Command1 = nullptr;
    QCheckBox* sortresults = nullptr;
    QLineEdit* sprogress = nullptr;
    QLabel* status = nullptr;
    RtfView* resultlist = nullptr;
};

RLC_rparallelr::RLC_rparallelr() : ToolWindow(QStringLiteral("RLC_rparallelr"), QSize(6240, 5520)) {}

RLC_rparallelr::Ui* RLC_rparallelr::ui() const
{
    return controls<Ui>();
}

void RLC_rparallelr::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Parallel Resistor Computer"));
    auto* u = makeControls<Ui>();
    placeLabel(form, QStringLiteral("Target Resistance"), 120, 150, 1500, 255, QStringLiteral("Label1"));
    u->rtarget = place<QLineEdit>(form, QStringLiteral("rtarget"), 1680, 120, 1200, 285);
    u->rtarget->setText(QStringLiteral("1000"));
    placeLabel(form, QStringLiteral("Ohms"), 2940, 150, 600, 255, QStringLiteral("Label2"));
    placeLabel(form, QStringLiteral("Search Tollerance"), 120, 510, 1500, 255, QStringLiteral("Label3"));
    u->searchlimit = place<QLineEdit>(form, QStringLiteral("searchlimit"), 1680, 480, 1200, 285);
    u->searchlimit->setText(QStringLiteral("1"));
    placeLabel(form, QStringLiteral("%"), 2940, 510, 300, 255, QStringLiteral("Label4"));
    placeLabel(form, QStringLiteral("Resistor Set"), 120, 870, 1500, 255, QStringLiteral("Label5"));
    u->resistorset = place<QComboBox>(form, QStringLiteral("resistorset"), 1680, 840, 1560, 315);
    u->resistorset->addItems({QStringLiteral("1% Standard"), QStringLiteral("5% Standard")});
    u->resistorset->setCurrentIndex(-1);

    u->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 3720, 120, 1680, 375);
    u->Command1->setText(QStringLiteral("Find Networks"));
    u->sortresults = place<QCheckBox>(form, QStringLiteral("sortresults"), 3720, 570, 1200, 255);
    u->sortresults->setText(QStringLiteral("Sort"));
    placeLabel(form, QStringLiteral("Search Progress"), 3720, 900, 1320, 255, QStringLiteral("Label6"));
    u->sprogress = place<QLineEdit>(form, QStringLiteral("sprogress"), 5100, 870, 1020, 285);
    u->sprogress->setText(QStringLiteral("0"));
    u->status = placeLabel(form, QStringLiteral("Done"), 3720, 1230, 1320, 255, QStringLiteral("status"));

    u->resultlist = place<RtfView>(form, QStringLiteral("resultlist"), 120, 1620, 6000, 3780);
    u->resultlist->setFont(fixedFont());

    on(u->resistorset, &QComboBox::currentIndexChanged, [this] { resistorset_Click(); });
    onKeyPress(u->resistorset, [](int) { return 0; });
    on(u->Command1, &QPushButton::clicked, [this] { Command1_Click(); });
}

void RLC_rparallelr::onLoad()
{
    initchars();
    ui()->resistorset->setCurrentIndex(0);
}

void RLC_rparallelr::resistorset_Click()
{
    Ui* u = ui();
    if (!u || u->resistorset->currentIndex() < 0)
        return;
    stdseries(int16_t(u->resistorset->currentIndex()), m_values);
}

void RLC_rparallelr::Command1_Click()
{
    Ui* u = ui();
    if (!u || m_searching)
        return;
    const SearchInputs in = searchInputs(u->rtarget->text(), u->searchlimit->text());
    if (in.targetRewritten)
        u->rtarget->setText(in.targetText);
    if (in.toleranceRewritten)
        u->searchlimit->setText(in.toleranceText);

    m_searching = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_searching};
    u->Command1->setEnabled(false);
    u->sprogress->setText(QStringLiteral("0"));
    u->status->setText(QStringLiteral("Wait..."));
    u->resultlist->clear();
    delay(-1);
    if (aborted())
        return;

    // The series may be changed while the search runs; it searches the one
    // chosen when it started.
    const std::vector<float> values = m_values;
    int shown = 0;
    std::vector<ParallelHit> hits = findNetworks(values, in.target, in.tolerance, [&](int count) {
        if (count != shown) {
            shown = count;
            u->sprogress->setText(QString::number(count));
        }
        delay(-1);
        return !aborted();
    });
    if (aborted())
        return;
    if (u->sortresults->isChecked())
        sortByError(hits);
    u->resultlist->setPlainText(parallelReport(values, hits));
    u->status->setText(QStringLiteral("Done"));
    u->Command1->setEnabled(true);
}
