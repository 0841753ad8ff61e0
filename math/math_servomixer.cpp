#include "math_servomixer.h"
#include "servomix.h"

#include "common/boxtext.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/picturebox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <cstdlib>

struct Math_servomixer::Ui : Controls {
    PictureBox* Picture1 = nullptr;
    QLineEdit* dch0 = nullptr;
    QLineEdit* dch1 = nullptr;
    QProgressBar* pwm0pos = nullptr;
    QProgressBar* pwm0neg = nullptr;
    QProgressBar* pwm1pos = nullptr;
    QProgressBar* pwm1neg = nullptr;
    QComboBox* algor = nullptr;
    QPushButton* showcode = nullptr;
    QPlainTextEdit* codewindow = nullptr;
};

namespace {
// One twip is 1/15 pixel; the joystick area is scaled in twips.
constexpr double twipsPerPixel = 15;
constexpr double centre = 2500;
constexpr double reach = 2100; // full deflection from the centre

QProgressBar* bar(QWidget* form, const char* name, double left, double top, bool downwards)
{
    auto* b = place<QProgressBar>(form, QString::fromLatin1(name), left, top, 450, 1500);
    b->setOrientation(Qt::Vertical);
    b->setRange(0, 100);
    b->setValue(0);
    b->setTextVisible(false);
    b->setInvertedAppearance(downwards);
    return b;
}

// The positive and negative bars of one output.
void showOutput(int pwm, QProgressBar* pos, QProgressBar* neg)
{
    if (pwm >= 0) {
        pos->setValue(pwm);
        neg->setValue(0);
    } else {
        neg->setValue(std::abs(pwm));
        pos->setValue(0);
    }
}
} // namespace

Math_servomixer::Math_servomixer() : ToolWindow(QStringLiteral("Math_servomixer"), QSize(8700, 5880)) {}

Math_servomixer::Ui* Math_servomixer::ui() const
{
    return controls<Ui>();
}

void Math_servomixer::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Servo mixer tester"));
    auto* u = makeControls<Ui>();
    u->Picture1 = place<PictureBox>(form, QStringLiteral("Picture1"), 120, 120, 5050, 5055);
    u->Picture1->installEventFilter(this);

    placeLabel(form, QStringLiteral("Algorithm"), 5400, 120, 1500, 255, QStringLiteral("Label1"));
    u->algor = place<QComboBox>(form, QStringLiteral("algor"), 5400, 375, 3180, 315);
    u->algor->addItem(QStringLiteral("2 Wheel/Single joystick!"));
    u->dch0 = place<QLineEdit>(form, QStringLiteral("dch0"), 5400, 900, 1200, 285);
    u->dch1 = place<QLineEdit>(form, QStringLiteral("dch1"), 6840, 900, 1200, 285);

    placeLabel(form, QStringLiteral("PWM0"), 5700, 1380, 720, 255, QStringLiteral("Label2"));
    placeLabel(form, QStringLiteral("PWM1"), 7140, 1380, 720, 255, QStringLiteral("Label3"));
    u->pwm0pos = bar(form, "pwm0pos", 5790, 1680, false);
    u->pwm1pos = bar(form, "pwm1pos", 7230, 1680, false);
    placeLabel(form, QStringLiteral("0"), 6000, 3195, 240, 255, QStringLiteral("Label4"));
    placeLabel(form, QStringLiteral("0"), 7440, 3195, 240, 255, QStringLiteral("Label5"));
    u->pwm0neg = bar(form, "pwm0neg", 5790, 3480, true);
    u->pwm1neg = bar(form, "pwm1neg", 7230, 3480, true);

    u->showcode = place<QPushButton>(form, QStringLiteral("showcode"), 120, 5340, 1500, 420);
    u->showcode->setText(QStringLiteral("Show Code"));
    u->codewindow = place<QPlainTextEdit>(form, QStringLiteral("codewindow"), 120, 120, 8460, 5055);
    u->codewindow->setFont(fixedFont());
    u->codewindow->setLineWrapMode(QPlainTextEdit::NoWrap);
    u->codewindow->hide();

    on(u->showcode, &QPushButton::clicked, [this] { showcode_Click(); });
}

void Math_servomixer::onLoad()
{
    initchars();
    drawJoystick();
}

void Math_servomixer::onActivate()
{
    if (Ui* u = ui())
        u->algor->setCurrentIndex(0);
}

void Math_servomixer::drawJoystick()
{
    PictureBox* p = ui()->Picture1;
    const double w = p->width() * twipsPerPixel;
    const double h = p->height() * twipsPerPixel;
    p->setScale(0, 0, w, h);
    p->cls();
    const QColor axis(0, 0, 0);
    const QColor diagonal(128, 128, 128);
    p->line(centre, 0, centre, h, axis);
    p->line(0, centre, w, centre, axis);
    p->line(centre - reach, centre - reach, centre + reach, centre + reach, diagonal);
    p->line(centre - reach, centre + reach, centre + reach, centre - reach, diagonal);
    auto text = [p](double x, double y, const char* s) {
        p->setCurrentX(x);
        p->setCurrentY(y);
        p->print(QString::fromLatin1(s), false);
    };
    // Sector letters: A/E above the centre either side of the vertical
    // axis, B/F and C/G beside it above and below the horizontal one, D/H
    // below it.
    text(2050, 900, "A");
    text(2800, 900, "E");
    text(900, 2000, "B");
    text(3950, 2000, "F");
    text(900, 2750, "C");
    text(3950, 2750, "G");
    text(2050, 3850, "D");
    text(2800, 3850, "H");
    text(2620, 60, "CH0+");
    text(2620, h - 300, "CH0-");
    text(60, 2200, "CH1+");
    text(w - 600, 2200, "CH1-");
}

bool Math_servomixer::eventFilter(QObject* watched, QEvent* event)
{
    Ui* u = ui();
    if (u && watched == u->Picture1 && event->type() == QEvent::MouseButtonPress) {
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        guarded([&] { Picture1_MouseDown(at.x() * twipsPerPixel, at.y() * twipsPerPixel); });
        return true;
    }
    return ToolWindow::eventFilter(watched, event);
}

void Math_servomixer::Picture1_MouseDown(double x, double y)
{
    Ui* u = ui();
    if (!u)
        return;
    const StickChannels ch = stickchannels(x, y);
    u->dch1->setText(QString::number(ch.ch1));
    u->dch0->setText(QString::number(ch.ch0));
    if (u->algor->currentIndex() != 0)
        return;
    const MixerSector out = mixsector(ch);
    showOutput(out.pwm0, u->pwm0pos, u->pwm0neg);
    showOutput(out.pwm1, u->pwm1pos, u->pwm1neg);
}

void Math_servomixer::showcode_Click()
{
    Ui* u = ui();
    if (u->algor->currentIndex() == 0) {
        u->codewindow->clear();
        u->codewindow->setPlainText(boxtext(sectortable()));
    }
    if (u->showcode->text() == QLatin1String("Show Code")) {
        u->showcode->setText(QStringLiteral("Hide Code"));
        u->codewindow->show();
        u->codewindow->raise();
    } else {
        u->showcode->setText(QStringLiteral("Show Code"));
        u->codewindow->hide();
    }
}
