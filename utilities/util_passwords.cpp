#include "util_passwords.h"
#include "passwordgen.h"

#include "common/alert.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/owntext.h"
#include "common/paths.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

Util_passwords::Util_passwords() : ToolWindow(QStringLiteral("Util_passwords"), QSize(4920, 2040))
{
}

QString Util_passwords::listPath()
{
    return joinpath(apppath(), QStringLiteral("Voltaris_pwg.ini"));
}

void Util_passwords::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Password Generator"));
    auto* ui = makeControls<Ui>();

    placeLabel(form, QStringLiteral("Length"), 120, 165, 735, 255, QStringLiteral("Label1"));
    ui->Text2 = place<QLineEdit>(form, QStringLiteral("Text2"), 900, 120, 615, 315);
    ui->numb = place<QCheckBox>(form, QStringLiteral("numb"), 1740, 135, 1215, 285);
    ui->numb->setText(QStringLiteral("Numbers"));
    ui->symb = place<QCheckBox>(form, QStringLiteral("symb"), 3120, 135, 1215, 285);
    ui->symb->setText(QStringLiteral("Symbols"));
    ui->Text3 = place<QLineEdit>(form, QStringLiteral("Text3"), 120, 600, 4680, 315);
    ui->Text3->setText(QStringLiteral("Description"));

    const QFont fixed = fixedFont(10);
    ui->Text1 = place<QLineEdit>(form, QStringLiteral("Text1"), 120, 1080, 4680, 375);
    ui->Text1->setFont(fixed);

    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 1380, 1560, 2160, 375);
    ui->Command1->setText(QStringLiteral("Generate Password "));
    on(ui->Command1, &QPushButton::clicked, [this] { Command1_Click(); });
}

void Util_passwords::Command1_Click()
{
    auto* ui = controls<Ui>();
    ui->Text1->clear();
    const double length = numval(ui->Text2->text());
    if (!passwordLengthOk(length)) {
        beep();
        return;
    }
    // The list is one byte per character: a description it cannot hold is
    // refused before a password is drawn that would be in no list.
    if (!singlebytefits(listPath(), {{QStringLiteral("Description"), ui->Text3->text()}}))
        return;
    const QString password = drawPassword(length, ui->numb->isChecked(), ui->symb->isChecked(),
                                          m_draw ? m_draw : std::function<double()>(systemPasswordDraw));
    ui->Text1->setText(password);
    if (ui->Text3->text().isEmpty())
        ui->Text3->setText(QStringLiteral("No description"));
    const QString path = listPath();
    if (!appendPasswordLine(path, passwordLine(ui->Text3->text(), password)))
        alertbox(QStringLiteral("File error"), QStringLiteral("Cannot write ") + path, 0);
}
