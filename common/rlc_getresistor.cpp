#include "rlc_getresistor.h"
#include "formbuilder.h"
#include "numtext.h"
#include "stdseries.h"

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

RLC_getresistor::RLC_getresistor()
    : ToolWindow(QStringLiteral("RLC_getresistor"), QSize(2010, 870), Kind::Dialog)
{
}

void RLC_getresistor::build(QWidget* form)
{
    auto* ui = makeControls<Ui>();
    form->setWindowTitle(QStringLiteral("Resistor  picker"));
    ui->Combo1 = place<QComboBox>(form, QStringLiteral("Combo1"), 60, 60, 1875, 315);
    ui->Combo1->setPlaceholderText(QStringLiteral("Select group..."));
    ui->Combo1->addItem(QStringLiteral("R=1%"));
    ui->Combo1->addItem(QStringLiteral("R=5%"));
    ui->Combo1->setCurrentIndex(-1);
    ui->Combo1->setMaxVisibleItems(20);
    ui->OKButton = place<QPushButton>(form, QStringLiteral("OKButton"), 60, 480, 915, 315);
    ui->OKButton->setText(QStringLiteral("OK"));
    ui->OKButton->setAutoDefault(false);
    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 1080, 480, 855, 315);
    ui->Command1->setText(QStringLiteral("Cancel"));
    ui->Command1->setAutoDefault(false);

    on(ui->Combo1, &QComboBox::currentIndexChanged, [this] { Combo1_Click(); });
    // The value can only be chosen from the list, never typed.
    onKeyPress(ui->Combo1, [](int) { return 0; });
    on(ui->OKButton, &QPushButton::clicked, [this] { hide(); });
    on(ui->Command1, &QPushButton::clicked, [this] { Command1_Click(); });
    // The close box and Escape count as Cancel.
    on(static_cast<QDialog*>(form), &QDialog::rejected, [this] { Command1_Click(); });
}

QString RLC_getresistor::selectedText()
{
    auto* ui = controls<Ui>();
    if (!ui || ui->Combo1->currentIndex() < 0)
        return QString();
    return ui->Combo1->currentText();
}

void RLC_getresistor::Combo1_Click()
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    const int k = ui->Combo1->currentIndex();
    if (k < 0 || ui->Combo1->itemText(k).startsWith(u' '))
        return;
    // A series choice replaces the values listed so far, so the list holds
    // one series at a time however often a series is chosen.
    while (ui->Combo1->count() > 2)
        ui->Combo1->removeItem(ui->Combo1->count() - 1);
    std::vector<float> values(1001);
    const int16_t series = int16_t(k);
    stdseries(series, values);
    QStringList entries;
    const int n = int(values[0]);
    for (int i = 1; i <= n; ++i)
        entries << QStringLiteral(" ") + resformat(series, values[size_t(i)]);
    ui->Combo1->addItems(entries);
}

void RLC_getresistor::Command1_Click()
{
    auto* ui = controls<Ui>();
    if (ui && ui->Combo1->currentIndex() != 0)
        ui->Combo1->setCurrentIndex(0);
    hide();
}

std::optional<double> RLC_getresistor::entryValue(const QString& entry)
{
    if (!entry.startsWith(u' '))
        return std::nullopt;
    QString digits;
    for (QChar c : entry)
        if ((c >= u'0' && c <= u'9') || c == u'.')
            digits += c;
    return numval(digits);
}

std::optional<double> RLC_getresistor::pick()
{
    RLC_getresistor& w = FormSlots::get<RLC_getresistor>();
    w.show();
    return entryValue(w.selectedText());
}
