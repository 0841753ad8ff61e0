#include "util_throughput.h"
#include "throughput.h"

#include "common/clock.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/pacing.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>

Util_throughput::Util_throughput() : ToolWindow(QStringLiteral("Util_throughput"), QSize(4800, 1500))
{
}

void Util_throughput::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("CPU Throughput"));
    auto* ui = makeControls<Ui>();
    const char* captions[] = {"Cycles", "Start", "Stop", "C/S"};
    QLineEdit** boxes[] = {&ui->countr, &ui->starttime, &ui->stoptime, &ui->calc};
    const char* names[] = {"countr", "starttime", "stoptime", "calc"};
    for (int i = 0; i < 4; ++i) {
        const double left = 120 + 1170 * i;
        placeLabel(form, QString::fromLatin1(captions[i]), left, 120, 1080, 255,
                   arrayName(QStringLiteral("Label"), i + 1));
        *boxes[i] = place<QLineEdit>(form, QString::fromLatin1(names[i]), left, 420, 1080, 315);
    }
    ui->countr->setText(QStringLiteral("100000"));
    ui->startbutton = place<QPushButton>(form, QStringLiteral("startbutton"), 1800, 900, 1200, 375);
    ui->startbutton->setText(QStringLiteral("Start"));
    on(ui->startbutton, &QPushButton::clicked, [this] { startbutton_Click(); });
}

void Util_throughput::startbutton_Click()
{
    // The count serves the event loop, so "Start" can be pressed again
    // meanwhile: one count at a time.
    if (m_running)
        return;
    auto* ui = controls<Ui>();
    const int passes = passCount(numval(ui->countr->text()));
    m_running = true;
    ui->starttime->setText(singleText(timer()));
    ui->stoptime->setText(QStringLiteral("Please wait..."));
    ui->calc->clear();
    for (int n = passes; n >= 0; --n) {
        QCoreApplication::processEvents();
        // Closed, or the program quits: the form may be gone.
        if (waitAborted() || !controls<Ui>()) {
            m_running = false;
            return;
        }
        ui->countr->setText(QString::number(n));
    }
    m_running = false;
    ui->stoptime->setText(singleText(timer()));
    ui->calc->setText(throughputResult(passes, ui->starttime->text(), ui->stoptime->text()));
    ui->countr->setText(QString::number(passes));
}
