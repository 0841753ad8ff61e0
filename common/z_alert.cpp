#include "z_alert.h"
#include "alert.h"
#include "formbuilder.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTextEdit>

Z_alert::Z_alert() : ToolWindow(QStringLiteral("Z_alert"), QSize(4815, 3120), Kind::Dialog) {}

void Z_alert::build(QWidget* form)
{
    auto* ui = makeControls<Ui>();
    form->setWindowTitle(QStringLiteral(" "));
    ui->message = place<QTextEdit>(form, "message", 120, 60, 4575, 2415);
    ui->message->setReadOnly(true);
    ui->message->setFocusPolicy(Qt::NoFocus);
    ui->message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui->message->setFont(uiFont(8.25, true));
    QPalette pal = ui->message->palette();
    pal.setColor(QPalette::Base, form->palette().color(QPalette::Button));
    ui->message->setPalette(pal);
    ui->Command1[0] = place<QPushButton>(form, "Command1_0", 120, 2580, 975, 345);
    ui->Command1[0]->setText(QStringLiteral("OK"));
    ui->Command1[1] = place<QPushButton>(form, "Command1_1", 3720, 2580, 975, 345);
    ui->Command1[1]->setText(QStringLiteral("Cancel"));
    ui->Command1[0]->setDefault(true);
    for (int i = 0; i < 2; ++i)
        on(ui->Command1[i], &QPushButton::clicked, [this, i] { Command1_Click(i); });
}

void Z_alert::onLoad()
{
    respond = false;
    if (auto* ui = controls<Ui>())
        ui->Command1[0]->setFocus();
}

void Z_alert::setMessage(const QString& text, bool leftAligned)
{
    auto* ui = controls<Ui>();
    if (!ui)
        return;
    ui->message->setPlainText(text);
    ui->message->selectAll();
    ui->message->setAlignment(leftAligned ? Qt::AlignLeft : Qt::AlignHCenter);
    QTextCursor c = ui->message->textCursor();
    c.movePosition(QTextCursor::Start);
    ui->message->setTextCursor(c);
}

void Z_alert::Command1_Click(int index)
{
    respond = index == 0;
    hide();
}

namespace {
int g_beeps = 0;
}

void beep()
{
    ++g_beeps;
    QApplication::beep();
}

int beepCount()
{
    return g_beeps;
}

int alertbox(const QString& title, const QString& text, int mode)
{
    Z_alert& a = FormSlots::get<Z_alert>();
    if (a.isLoaded() && !a.formIfLoaded()->isHidden())
        return 0;
    if (mode < 0 || mode > 2)
        return 0;
    if (mode == 0 || mode == 2)
        beep();
    a.load();
    a.respond = false;
    a.setCaption(title);
    QString shown = text;
    if (mode == 2) {
        const VError& e = handledError();
        const QString num = e.number() >= 0 ? QStringLiteral(" ") + QString::number(e.number())
                                            : QString::number(e.number());
        shown = QStringLiteral("Error Code: ") + num + QStringLiteral("\r\n\r\n") + e.description();
    }
    // The box shows CR LF as one line break.
    QString display = shown;
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    a.setMessage(display, mode == 1);
    a.show();
    const int result = a.respond ? -1 : 0;
    a.unload();
    return result;
}
