#include "util_contestdrawing.h"

#include "common/alert.h"
#include "common/boxtext.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "common/randomsource.h"
#include "common/textlines.h"
#include "common/z_selectfile.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

namespace {
// Far more than any contest list; a larger file loads as far as this.
constexpr qint64 maxListBytes = 16 * 1024 * 1024;
} // namespace

Util_contestdrawing::Util_contestdrawing() : ToolWindow(QStringLiteral("Util_contestdrawing"), QSize(10080, 5760))
{
}

void Util_contestdrawing::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Contest Drawing"));
    auto* ui = makeControls<Ui>();
    const QFont fixed = fixedFont(9);

    ui->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 120, 120, 1215, 375);
    ui->Command1->setText(QStringLiteral("Load"));
    on(ui->Command1, &QPushButton::clicked, [this] { Command1_Click(); });
    placeLabel(form, QStringLiteral("Contestant List"), 1500, 180, 1935, 255, QStringLiteral("Label1"));
    ui->ctext = place<QPlainTextEdit>(form, QStringLiteral("ctext"), 120, 600, 4800, 5040);

    ui->wselects = place<QLineEdit>(form, QStringLiteral("wselects"), 5160, 120, 735, 375);
    ui->wselects->setText(QStringLiteral("1"));
    onKeyPress(ui->wselects, [this](int key) { return wselects_KeyPress(key); });
    onFocusOut(ui->wselects, [this] { wselects_LostFocus(); });
    ui->Command2 = place<QPushButton>(form, QStringLiteral("Command2"), 6000, 120, 1935, 375);
    ui->Command2->setText(QStringLiteral("Select Winners"));
    on(ui->Command2, &QPushButton::clicked, [this] { Command2_Click(); });
    ui->winnerlist = place<QPlainTextEdit>(form, QStringLiteral("winnerlist"), 5160, 600, 4800, 5040);

    for (QPlainTextEdit* box : {ui->ctext, ui->winnerlist}) {
        box->setFont(fixed);
        box->setLineWrapMode(QPlainTextEdit::NoWrap);
    }
}

void Util_contestdrawing::Command1_Click()
{
    const QString path = selectfile(QString(), QStringLiteral("*.txt"), worktemp(),
                                    QStringLiteral("Select contestant file"));
    if (path.isEmpty() || !fileexists(path))
        return;
    // A list past the cap is no contestant list: refused whole, never read in
    // part.
    const TextLines file = readTextLines(path, maxListBytes, TextLines::NoLines);
    if (file.status == TextLines::TooLarge)
        alertbox(QStringLiteral("Contestant list error"), toolargetext(path, maxListBytes), 0);
    if (file.status != TextLines::Ok)
        return;
    auto* ui = controls<Ui>();
    if (!ui)
        return; // closed while the chooser was up
    m_contestants = readContestants(file.lines);
    QString shown;
    for (const Contestant& c : m_contestants)
        shown += contestantLine(c);
    ui->ctext->setPlainText(boxtext(shown));
}

void Util_contestdrawing::Command2_Click()
{
    auto* ui = controls<Ui>();
    const int count = int(m_contestants.size());
    double wanted = numval(ui->wselects->text());
    if (wanted > count) {
        ui->wselects->setText(QString::number(count));
        wanted = count;
    }
    ui->winnerlist->clear();
    const std::vector<int> winners = drawWinners(count, wanted > 0 ? int(std::floor(wanted)) : 0, randomSource());
    QString shown;
    for (int r : winners)
        shown += winnerLine(r, m_contestants[size_t(r - 1)]);
    ui->winnerlist->setPlainText(boxtext(shown));
}

int Util_contestdrawing::wselects_KeyPress(int key)
{
    if ((key >= '0' && key <= '9') || key == 8 || key == 127)
        return key;
    if (key == 13)
        wselects_LostFocus();
    return 0;
}

void Util_contestdrawing::wselects_LostFocus()
{
    auto* ui = controls<Ui>();
    if (numval(ui->wselects->text()) <= 0)
        ui->wselects->setText(QStringLiteral("1"));
}
