#include "rlc_resvalues.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/rtfview.h"
#include "common/stdseries.h"

#include <QComboBox>

RLC_resvalues::RLC_resvalues() : ToolWindow(QStringLiteral("RLC_resvalues"), QSize(3240, 5400)) {}

void RLC_resvalues::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Standard Values"));
    auto* ui = makeControls<Ui>();
    ui->partselector = place<QComboBox>(form, QStringLiteral("partselector"), 120, 120, 3000, 315);
    ui->partselector->setPlaceholderText(QStringLiteral("Select data set..."));
    ui->partselector->addItems({QStringLiteral("1% Resistors"), QStringLiteral("5% Resistors")});
    ui->partselector->setCurrentIndex(-1);
    ui->datalist = place<RtfView>(form, QStringLiteral("datalist"), 120, 540, 3000, 4740);
    ui->datalist->setFont(fixedFont());

    on(ui->partselector, &QComboBox::currentIndexChanged, [this] { partselector_Click(); });
    onKeyPress(ui->partselector, [](int) { return 0; });
}

void RLC_resvalues::onLoad()
{
    initchars();
}

void RLC_resvalues::partselector_Click()
{
    auto* ui = controls<Ui>();
    const int item = ui ? ui->partselector->currentIndex() : -1;
    if (item < 0)
        return;
    const int16_t series = int16_t(item);
    std::vector<float> values(1001);
    stdseries(series, values);
    QString list;
    const int n = int(values[0]);
    for (int i = 1; i <= n; ++i)
        list += resformat(series, values[size_t(i)]) + QStringLiteral("\r\n");
    ui->datalist->setPlainText(list);
}
