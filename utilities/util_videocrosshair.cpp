#include "util_videocrosshair.h"

#include "crosshairshape.h"
#include "framesource.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/pacing.h"
#include "common/picturebox.h"
#include "common/scrollnotify.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>

#include <array>

namespace {
constexpr int redrawMs = 75;
constexpr double pictureScale = 1000;
constexpr double previewScale = 500;
// The picture's "full" lines reach past its edges.
constexpr double fullLo = -100, fullHi = 1100;

void draw(PictureBox& box, const std::vector<crosshairs::Item>& items, const QColor& color)
{
    for (const crosshairs::Item& it : items) {
        switch (it.kind) {
        case crosshairs::Item::Line:
            box.line(it.x1, it.y1, it.x2, it.y2, color);
            break;
        case crosshairs::Item::Box:
            box.box(it.x1, it.y1, it.x2, it.y2, color);
            break;
        case crosshairs::Item::Circle:
            box.circle(it.x1, it.y1, it.x2, color);
            break;
        }
    }
}

// A vertical slider with its minimum at the top, as the sliders of this
// window read: moving one up makes its quantity larger.
QSlider* slider(QWidget* form, const QString& name, double left, int lo, int hi, int start)
{
    auto* s = place<QSlider>(form, name, left, 420, 330, 2520);
    s->setOrientation(Qt::Vertical);
    s->setRange(lo, hi);
    s->setInvertedAppearance(true);
    s->setInvertedControls(true);
    s->setValue(start);
    return s;
}
} // namespace

struct Util_videocrosshair::Ui : Controls {
    std::array<QPushButton*, 8> cmmd{};
    PictureBox* Picture1 = nullptr;
    QScrollBar* hairlinev = nullptr;
    QScrollBar* hairlineh = nullptr;
    QSlider* chred = nullptr;
    QSlider* chgreen = nullptr;
    QSlider* chblue = nullptr;
    QSlider* chthick = nullptr;
    QSlider* chwidth = nullptr;
    QSlider* chheight = nullptr;
    std::array<QRadioButton*, crosshairs::shapes> chtype{};
    std::array<PictureBox*, crosshairs::shapes> cstyle{};
    QTimer* Timer1 = nullptr;
};

Util_videocrosshair::Util_videocrosshair() : ToolWindow(QStringLiteral("Util_videocrosshair"), QSize(10800, 8100))
{
}

Util_videocrosshair::~Util_videocrosshair() = default;

Util_videocrosshair::Ui* Util_videocrosshair::ui() const
{
    return controls<Ui>();
}

FrameSource& Util_videocrosshair::frameSource()
{
    if (!m_source)
        m_source = std::make_unique<CameraSource>();
    return *m_source;
}

void Util_videocrosshair::setFrameSource(std::unique_ptr<FrameSource> source)
{
    if (m_source)
        m_source->release();
    m_source = std::move(source);
}

void Util_videocrosshair::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Video Crosshair"));
    auto* u = makeControls<Ui>();

    u->Picture1 = place<PictureBox>(form, QStringLiteral("Picture1"), 120, 120, 7500, 7500);
    u->Picture1->setBackColor(Qt::black);
    u->hairlinev = place<QScrollBar>(form, QStringLiteral("hairlinev"), 120, 7680, 7500, 255);
    u->hairlinev->setOrientation(Qt::Horizontal);
    u->hairlinev->setRange(55, 945);
    u->hairlinev->setValue(500);
    u->hairlineh = place<QScrollBar>(form, QStringLiteral("hairlineh"), 7680, 120, 255, 7500);
    u->hairlineh->setOrientation(Qt::Vertical);
    u->hairlineh->setRange(80, 920);
    u->hairlineh->setValue(500);

    // The legend's letters, R G B T W H, each centred over its slider: one
    // column of the slider pitch (420 twips) per letter, since blanks
    // between letters line up with the sliders in no proportional face.
    const int pitch = twips(420);
    QString legend = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\"><tr>");
    for (QChar letter : QStringLiteral("RGBTWH"))
        legend += QStringLiteral("<td width=\"%1\" align=\"center\">%2</td>").arg(pitch).arg(letter);
    legend += QStringLiteral("</tr></table>");
    // Starts half the gap between two sliders to the left of the first, so
    // each column is centred on its slider.
    QLabel* letters = placeLabel(form, legend, 8160 - (420 - 330) / 2.0, 150, 2520, 255, QStringLiteral("Label1"));
    letters->setTextFormat(Qt::RichText);
    u->chred = slider(form, QStringLiteral("chred"), 8160, 0, 255, 0);
    u->chgreen = slider(form, QStringLiteral("chgreen"), 8580, 0, 255, 255);
    u->chblue = slider(form, QStringLiteral("chblue"), 9000, 0, 255, 255);
    u->chthick = slider(form, QStringLiteral("chthick"), 9420, 1, 10, 10);
    u->chwidth = slider(form, QStringLiteral("chwidth"), 9840, 1, 450, 400);
    u->chheight = slider(form, QStringLiteral("chheight"), 10260, 1, 400, 350);

    for (int k = 0; k < crosshairs::shapes; ++k) {
        const double left = 8160 + 900 * (k % 3), top = 3120 + 1080 * (k / 3);
        auto* option = place<QRadioButton>(form, arrayName(QStringLiteral("chtype"), k), left, top, 255, 255);
        option->setChecked(k == 0);
        on(option, &QRadioButton::clicked, [this] { crosshair(); });
        u->chtype[size_t(k)] = option;
        u->cstyle[size_t(k)] = place<PictureBox>(form, arrayName(QStringLiteral("cstyle"), k), left, top + 300, 600, 600);
    }

    u->cmmd[0] = place<QPushButton>(form, arrayName(QStringLiteral("cmmd"), 0), 8160, 6480, 1215, 375);
    u->cmmd[0]->setText(QStringLiteral("Acquire"));
    u->cmmd[2] = place<QPushButton>(form, arrayName(QStringLiteral("cmmd"), 2), 9420, 6480, 1335, 375);
    u->cmmd[2]->setText(QStringLiteral(" To Clipboard"));
    const int blank[] = {1, 3, 4, 5, 6, 7};
    for (int k = 0; k < 6; ++k) {
        const int i = blank[k];
        u->cmmd[size_t(i)] = place<QPushButton>(form, arrayName(QStringLiteral("cmmd"), i), 8160 + 450 * k, 7080, 375, 375);
    }
    for (int i = 0; i < 8; ++i)
        on(u->cmmd[size_t(i)], &QPushButton::clicked, [this, i] { cmmd_Click(i); });

    onScrollBar(*this, u->hairlinev, [this] { crosshair(); });
    onScrollBar(*this, u->hairlineh, [this] { crosshair(); });
    onScrollBar(*this, u->chred, [this] { crosshair(); });

    u->Timer1 = new QTimer(form);
    u->Timer1->setObjectName(QStringLiteral("Timer1"));
    u->Timer1->setInterval(redrawMs);
    on(u->Timer1, &QTimer::timeout, [this] { redrawTick(); });
    // The sliders not redrawn at once show at the next tick.
    for (QSlider* sl : {u->chgreen, u->chblue, u->chthick, u->chwidth, u->chheight})
        on(sl, &QSlider::valueChanged, [this] {
            if (auto* v = ui(); v && !v->Timer1->isActive())
                v->Timer1->start();
        });
    u->Timer1->start();
}

void Util_videocrosshair::redrawTick()
{
    crosshair();
    // Without capture the picture changes only when a control does: the
    // timer rests until then, and runs at the frame rate while capturing.
    auto* u = ui();
    if (u && u->cmmd[0]->text().toLower() != QLatin1String("stop"))
        u->Timer1->stop();
}

void Util_videocrosshair::onLoad()
{
    cstyles();
    initchars();
}

void Util_videocrosshair::onUnload()
{
    if (m_source) {
        m_source->stop();
        m_source->release();
    }
    if (auto* u = ui())
        u->Timer1->stop();
}

void Util_videocrosshair::cstyles()
{
    auto* u = ui();
    for (int k = 0; k < crosshairs::shapes; ++k) {
        PictureBox& box = *u->cstyle[size_t(k)];
        box.setDrawWidth(1);
        box.setScale(0, 0, previewScale, previewScale);
        draw(box, crosshairs::shape(k, crosshairs::preview), Qt::black);
    }
}

void Util_videocrosshair::crosshair()
{
    auto* u = ui();
    if (!u)
        return;
    const double x = u->hairlinev->value();
    const double y = u->hairlineh->value();
    const double w = 451 - u->chwidth->value();
    const double h = 401 - u->chheight->value();
    const int thick = 11 - u->chthick->value();
    const QColor color(255 - u->chred->value(), 255 - u->chgreen->value(), 255 - u->chblue->value());
    int type = 0;
    for (int k = 0; k < crosshairs::shapes; ++k)
        if (u->chtype[size_t(k)]->isChecked())
            type = k;

    PictureBox& pic = *u->Picture1;
    pic.setPicture(frameSource().currentFrame());
    pic.setDrawWidth(thick);
    pic.setScale(0, 0, pictureScale, pictureScale);
    draw(pic, crosshairs::shape(type, {x, y, w, h, w, fullLo, fullHi}), color);
}

void Util_videocrosshair::cmmd_Click(int index)
{
    if (index == 0)
        startStop();
    else if (index == 2)
        toClipboard();
}

void Util_videocrosshair::startStop()
{
    auto* u = ui();
    FrameSource& source = frameSource();
    if (u->cmmd[0]->text().toLower() == QLatin1String("acquire")) {
        const bool ok = source.startUp();
        delay(-1);
        u = ui();
        if (!u || aborted()) {
            source.release();
            return;
        }
        if (!ok)
            return;
        u->cmmd[0]->setText(QStringLiteral("Stop"));
        source.setFailureHandler([this](const QString& reason) { guarded([this, reason] { captureFailed(reason); }); });
        source.setLive(true);
        source.start();
        u->Timer1->start();
    } else if (u->cmmd[0]->text().toLower() == QLatin1String("stop")) {
        u->cmmd[0]->setText(QStringLiteral("Acquire"));
        source.stop();
        source.release();
    }
}

// A camera that fails while capturing must not leave "Stop" over a dead
// picture: the window goes back to idle and says why.
void Util_videocrosshair::captureFailed(const QString& reason)
{
    auto* u = ui();
    if (!u || u->cmmd[0]->text().toLower() != QLatin1String("stop"))
        return;
    u->cmmd[0]->setText(QStringLiteral("Acquire"));
    FrameSource& source = frameSource();
    source.stop();
    source.release();
    alertbox(QStringLiteral("Video Crosshair"),
             reason.isEmpty() ? QStringLiteral("The camera stopped.") : QStringLiteral("The camera stopped: ") + reason,
             0);
}

void Util_videocrosshair::toClipboard()
{
    const QImage frame = frameSource().currentFrame();
    if (frame.isNull()) {
        beep();
        return;
    }
    QGuiApplication::clipboard()->setImage(frame);
}
