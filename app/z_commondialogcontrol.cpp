#include "z_commondialogcontrol.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/paths.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// The boxes' multi-line texts use CR LF; the editor shows plain line ends.
void setLines(QPlainTextEdit* box, QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box->setPlainText(text);
}
} // namespace

Z_commondialogcontrol::Z_commondialogcontrol()
    : ToolWindow(QStringLiteral("Z_commondialogcontrol"), QSize(6105, 5295))
{
}

void Z_commondialogcontrol::build(QWidget* form)
{
    auto* ui = makeControls<Ui>();
    form->setWindowTitle(QStringLiteral("Common Dialog Control test form"));
    ui->Command1[0] = place<QPushButton>(form, arrayName(QStringLiteral("Command1"), 0), 120, 120, 1035, 375);
    ui->Command1[0]->setText(QStringLiteral("Open"));
    ui->Command1[1] = place<QPushButton>(form, arrayName(QStringLiteral("Command1"), 1), 1200, 120, 1035, 375);
    ui->Command1[1]->setText(QStringLiteral("Save"));
    ui->Text1 = place<QPlainTextEdit>(form, QStringLiteral("Text1"), 120, 600, 5835, 1875);
    ui->Text3 = place<QPlainTextEdit>(form, QStringLiteral("Text3"), 120, 2520, 5835, 1875);
    for (QPlainTextEdit* t : {ui->Text1, ui->Text3})
        t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui->Text2 = place<QLineEdit>(form, QStringLiteral("Text2"), 120, 4500, 5835, 315);
    for (int i = 0; i < 2; ++i)
        on(ui->Command1[i], &QPushButton::clicked, [this, i] { Command1_Click(i); });
}

void Z_commondialogcontrol::onLoad()
{
    initchars();
}

void Z_commondialogcontrol::Command1_Click(int index)
{
    if (index != 0 && index != 1)
        return;
    const bool open = index == 0;
    cdc.DialogTitle = open ? QStringLiteral("Select a file to open") : QStringLiteral("Select a file name to save");
    cdc.CancelError = true;
    cdc.InitDir = worktemp();
    cdc.FileName = open ? QString() : QStringLiteral("ThisIsATest.txt");
    cdc.Filter = open ? QStringLiteral("Text (*.txt)|*.txt|Pictures (*.bmp;*.ico)|*.bmp;*.ico")
                      : QStringLiteral("Text (*.txt)|*.txt|CSV files (*.csv;*.dat)|*.csv;*.dat");
    cdc.DefaultExt = QStringLiteral("txt");
    cdc.Flags = open ? 2628100 : 2656262;
    try {
        if (open)
            cdc.ShowOpen();
        else
            cdc.ShowSave();
    } catch (const VError& e) {
        if (e.number() != cdl::Cancel)
            throw;
        beep();
        return;
    }
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    const QStringList fields = cdc.FileName.split(QChar(0));
    if (open && fields.size() > 1) {
        QString text;
        for (const QString& f : fields)
            text += f + cc.CRLF;
        setLines(ui->Text1, text);
    } else {
        setLines(ui->Text1, cdc.FileName);
    }
    setLines(ui->Text3, cdc.FileTitle);
    ui->Text2->setText((cdc.Flags & cdl::ExtensionDifferent)
                           ? QStringLiteral("Extensions different from default (") + cdc.DefaultExt + u')'
                           : QStringLiteral("Extension matches default (") + cdc.DefaultExt + u')');
}
