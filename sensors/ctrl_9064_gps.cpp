#include "ctrl_9064_gps.h"

#include "common/alert.h"
#include "common/owntext.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "common/picturebox.h"
#include "common/textlines.h"
#include "common/verror.h"
#include "common/z_selectfile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

using namespace gps;

struct Ctrl_9064_gps::Ui : Controls {
    QComboBox* portselect = nullptr;
    std::array<QCheckBox*, 6> Check1{};
    QCheckBox* msgticker = nullptr;
    std::array<QLineEdit*, 10> gpgga{};
    std::array<QLineEdit*, 9> gprmc{};
    std::vector<QLabel*> Label1;
    std::array<QPushButton*, 7> cmmd{};
    std::array<QLineEdit*, 4> cmmddata{};
    QPlainTextEdit* cmmdresponse = nullptr;
    std::array<QLineEdit*, 2> latlon{};
    QCheckBox* capture = nullptr;
    QCheckBox* plotpoints = nullptr;
    QCheckBox* logdata = nullptr;
    PictureBox* location = nullptr;
    std::array<QCheckBox*, 2> pointshape{};
    std::array<QCheckBox*, 2> countmode{};
    QLineEdit* poscounts = nullptr;
    std::array<QLineEdit*, 8> variances{};
    QLineEdit* xlaterror = nullptr;
    QLineEdit* xlonerror = nullptr;
};

namespace {

const QColor blue(0, 0, 255);

QLineEdit* outputBox(QWidget* form, const QString& name, double left, double top, double width,
                     const QString& text = QString())
{
    auto* b = place<QLineEdit>(form, name, left, top, width, 285);
    b->setText(text);
    b->setReadOnly(true);
    return b;
}

QCheckBox* checkBox(QWidget* form, const QString& name, const QString& caption, double left, double top,
                    double width)
{
    auto* c = place<QCheckBox>(form, name, left, top, width, 255);
    c->setText(caption);
    return c;
}

// The legend of a point-shape box: the mark it plots.
QIcon shapeIcon(bool square)
{
    QPixmap pm(10, 10);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    if (square)
        p.drawRect(1, 1, 7, 7);
    else
        p.drawEllipse(1, 1, 7, 7);
    return QIcon(pm);
}

} // namespace

Ctrl_9064_gps::Ctrl_9064_gps()
    : ToolWindow("Ctrl_9064_gps", QSize(10560, 7860)),
      serial(*this, [] { return QStringLiteral("4800,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
    serial.setFraming(QStringLiteral("$"), QString(QChar(13)));
}

Ctrl_9064_gps::Ui* Ctrl_9064_gps::ui() const
{
    return controls<Ui>();
}

QString Ctrl_9064_gps::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("Voltaris_9064.ini"));
}

QString Ctrl_9064_gps::logPath()
{
    return joinpath(worktemp(), logFileName());
}

void Ctrl_9064_gps::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("RVM 9064 GPS RTC module NMEA message decode and analysis "));
    auto* u = makeControls<Ui>();

    const auto label = [&](const QString& text, double left, double top, double width) {
        QLabel* l = placeLabel(form, text, left, top, width, 255, arrayName("Label1", int(u->Label1.size())));
        u->Label1.push_back(l);
        return l;
    };

    // Port and sentence indicators.
    label("Port", 120, 150, 450);
    u->portselect = place<QComboBox>(form, "portselect", 600, 105, 1900, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);
    label("NMEA Messages", 2640, 150, 1400);
    u->msgticker = place<QCheckBox>(form, "msgticker", 4080, 150, 255, 255);
    const char* sentenceNames[6] = {"GPGGA", "GPGSA", "GPGSV", "GPVTG", "GPGLL", "GPRMC"};
    for (int i = 0; i < 6; ++i)
        u->Check1[size_t(i)] = checkBox(form, arrayName("Check1", i), sentenceNames[i], 4380 + i * 1020, 150, 1000);

    // The GGA and RMC rows.
    label("GPGGA MESSAGE", 120, 600, 1800);
    const char* ggaLabels[10] = {"UTC", "Latitude", "", "Longitude", "", "Qual", "Sats", "Dilute", "Altitude-M",
                                 "GeoidSep-M"};
    const double ggaWidths[10] = {1200, 1200, 330, 1300, 330, 540, 540, 660, 1020, 1140};
    double x = 120;
    for (int i = 0; i < 10; ++i) {
        if (*ggaLabels[i]) {
            QLabel* l = label(ggaLabels[i], x, 840, ggaWidths[i]);
            if (i == 5)
                l->setToolTip(QStringLiteral("0=No fix / 1=GPS fix / 2=Differential GPS"));
        }
        u->gpgga[size_t(i)] = outputBox(form, arrayName("gpgga", i), x, 1080, ggaWidths[i]);
        x += ggaWidths[i] + 60;
    }
    label("GPRMC MESSAGE", 120, 1500, 1800);
    const char* rmcLabels[9] = {"Date", "UTC", "Latitude", "", "Longitude", "", "Spd-Kn", "Hdg-Deg", "Stat"};
    const double rmcWidths[9] = {960, 1200, 1200, 330, 1300, 330, 780, 840, 540};
    x = 120;
    for (int i = 0; i < 9; ++i) {
        if (*rmcLabels[i]) {
            QLabel* l = label(rmcLabels[i], x, 1740, rmcWidths[i]);
            if (i == 8)
                l->setToolTip(QStringLiteral("A=Valid position / V=Invalid position"));
        }
        u->gprmc[size_t(i)] = outputBox(form, arrayName("gprmc", i), x, 1980, rmcWidths[i]);
        x += rmcWidths[i] + 60;
    }

    // Command panel.
    const char* captions[7] = {"Set Mask Deg", "Get Mask Deg",  "Cold Start",   "Warm Start",
                               "Hot Start",    "Get Est Error", "Get Leap Secs"};
    for (int i = 0; i < 7; ++i) {
        auto* b = place<QPushButton>(form, arrayName("cmmd", i), 120, 2520 + i * 390, 1500, 345);
        b->setText(QString::fromLatin1(captions[i]));
        u->cmmd[size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { cmmd_Click(i); });
    }
    const QString maskTip = QStringLiteral(
        "Satellite angle mask, where 0deg is the horizon and 45deg is the limit.  Satellites below this angle are "
        "ignored.");
    const struct {
        double left, top;
        const char* unit;
    } data[4] = {{1680, 2715, "Deg"}, {1680, 4470, "HFt"}, {2700, 4470, "VFt"}, {1680, 4860, "Sec"}};
    for (int i = 0; i < 4; ++i) {
        auto* b = place<QLineEdit>(form, arrayName("cmmddata", i), data[i].left, data[i].top, 600, 285);
        b->setText(QStringLiteral("0"));
        b->setToolTip(maskTip);
        b->setReadOnly(i != 0);
        u->cmmddata[size_t(i)] = b;
        label(data[i].unit, data[i].left + 630, data[i].top + 30, 360);
    }
    onKeyPress(u->cmmddata[0], [](int key) { return keyinteger(key); });
    label("Command response", 120, 5310, 1800);
    u->cmmdresponse = place<QPlainTextEdit>(form, "cmmdresponse", 120, 5550, 3960, 2190);
    u->cmmdresponse->setReadOnly(true);
    u->cmmdresponse->setLineWrapMode(QPlainTextEdit::NoWrap);

    // Scatter plot and statistics.
    u->location = place<PictureBox>(form, "location", 4260, 2520, 3000, 3000);
    u->location->setToolTip(QStringLiteral("Circles are in 10 foot radius steps"));
    u->location->setScale(0, 0, 150, 150);
    onDoubleClick(u->location, [this] { resetplot(0); });
    u->xlaterror = place<QLineEdit>(form, "xlaterror", 5310, 5580, 900, 285);
    u->xlonerror = place<QLineEdit>(form, "xlonerror", 7320, 3878, 900, 285);

    label("Reference", 8400, 2520, 1500);
    for (int i = 0; i < 2; ++i) {
        u->latlon[size_t(i)] = outputBox(form, arrayName("latlon", i), 8400, 2760 + i * 330, 1680);
        onDoubleClick(u->latlon[size_t(i)], [this] { latlon_DblClick(); });
    }
    u->capture = checkBox(form, "capture", "Re-Center", 8400, 3480, 1200);
    on(u->capture, &QCheckBox::toggled, [this] { resetplot(0); });
    u->plotpoints = checkBox(form, "plotpoints", "Map", 8400, 3780, 720);
    u->logdata = checkBox(form, "logdata", "Log", 9180, 3780, 720);
    for (int i = 0; i < 2; ++i) {
        auto* p = place<QCheckBox>(form, arrayName("pointshape", i), 8400 + i * 720, 4080, 600, 255);
        p->setIcon(shapeIcon(i == 1));
        p->setChecked(i == 0);
        u->pointshape[size_t(i)] = p;
        on(p, &QCheckBox::toggled, [this, i] { choiceOfOne(1, i); });
        auto* c = checkBox(form, arrayName("countmode", i), i == 0 ? "%" : "#", 8400 + i * 720, 4380, 600);
        c->setChecked(i == 0);
        u->countmode[size_t(i)] = c;
        on(c, &QCheckBox::toggled, [this, i] { choiceOfOne(0, i); });
    }
    label("Points", 8400, 4740, 600);
    u->poscounts = outputBox(form, "poscounts", 9060, 4710, 900, "0");
    const char* rings[8] = {"<10 ft", "<20 ft", "<30 ft", "<40 ft", "<50 ft", "<60 ft", "<70 ft", "70 ft+"};
    for (int i = 0; i < 8; ++i) {
        label(rings[i], 8400, 5100 + i * 330, 600);
        u->variances[size_t(i)] = outputBox(form, arrayName("variances", i), 9060, 5070 + i * 330, 900, "0.0");
    }

    for (QLabel* l : u->Label1)
        onMouseDown(l, [this] { Label1_Click(); });
}

void Ctrl_9064_gps::onLoad()
{
    serial.load();
    resetplot(0);
    loadSettings();
}

void Ctrl_9064_gps::onUnload()
{
    saveSettings();
    serial.unload();
}

void Ctrl_9064_gps::loadSettings()
{
    // Anything but the name of an existing folder (an empty, binary or
    // missing file, a folder since removed) starts the chooser in the work
    // folder.
    locfolder = worktemp();
    const TextLines file = readTextLines(settingsPath(), 64 * 1024, TextLines::NoLines);
    if (!file.ok() || file.lines.isEmpty())
        return;
    const QString folder = file.lines.first();
    for (QChar c : folder)
        if (c.unicode() < 32 || c.unicode() == 127)
            return;
    if (!folder.trimmed().isEmpty() && direxists(folder))
        locfolder = folder;
}

void Ctrl_9064_gps::saveSettings()
{
    try {
        writefile(settingsPath(), encodeOwnText(locfolder + QStringLiteral("\r\n")));
    } catch (const VError& e) {
        setHandledError(e);
        alertbox(QStringLiteral("Settings file error"), QString(), 2);
    }
}

void Ctrl_9064_gps::process(int what, const QString&)
{
    if (what != 255)
        return;
    Ui* u = ui();
    if (!u)
        return;
    const QString frame = serial.nextReply();
    if (frame.isEmpty())
        return;
    const Sentence kind = classify(frame);
    switch (kind) {
    case Sentence::Gga:
        decodeGga(sentenceFields(frame));
        break;
    case Sentence::Rmc:
        decodeRmc(sentenceFields(frame));
        break;
    case Sentence::Gsa:
    case Sentence::Gsv:
    case Sentence::Vtg:
    case Sentence::Gll:
        u->Check1[size_t(indicatorIndex(kind))]->setChecked(true);
        break;
    case Sentence::Pdme:
        reply(frame);
        break;
    case Sentence::Other:
        break;
    }
}

void Ctrl_9064_gps::decodeGga(const QStringList& fields)
{
    Ui* u = ui();
    u->msgticker->setChecked(!u->msgticker->isChecked());
    u->Check1[0]->setChecked(true);
    const auto boxes = ggaBoxes(fields);
    for (size_t i = 0; i < boxes.size(); ++i)
        u->gpgga[i]->setText(boxes[i]);
    analyse(fields);
}

void Ctrl_9064_gps::decodeRmc(const QStringList& fields)
{
    Ui* u = ui();
    u->Check1[5]->setChecked(true);
    const auto boxes = rmcBoxes(fields);
    for (size_t i = 0; i < boxes.size(); ++i)
        u->gprmc[i]->setText(boxes[i]);
}

void Ctrl_9064_gps::Label1_Click()
{
    Ui* u = ui();
    if (!u)
        return;
    for (QCheckBox* c : u->Check1)
        c->setChecked(false);
    u->msgticker->setChecked(false);
}

void Ctrl_9064_gps::cmmd_Click(int index)
{
    Ui* u = ui();
    if (!u || index < 0 || index > 6)
        return;
    const std::optional<QString> text = commandText(index, u->cmmddata[0]->text());
    if (!text) {
        alertbox(QStringLiteral("Set Mask Deg"),
                 QStringLiteral("The elevation mask must be a number of degrees.  Nothing was sent."), 0);
        return;
    }
    if (index == GetMask)
        u->cmmddata[0]->setText(QStringLiteral("---"));
    if (index == GetEstError) {
        u->cmmddata[1]->setText(QStringLiteral("---"));
        u->cmmddata[2]->setText(QStringLiteral("---"));
    }
    if (index == GetLeapSecs)
        u->cmmddata[3]->setText(QStringLiteral("---"));
    u->cmmdresponse->setPlainText(QStringLiteral("[O] ") + *text + QStringLiteral("[CR][LF]\n"));
    serial.comwrite(*text + QStringLiteral("\r\n"), 0);
}

void Ctrl_9064_gps::reply(const QString& frame)
{
    Ui* u = ui();
    QPlainTextEdit* box = u->cmmdresponse;
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(QStringLiteral("[I]   $") + frame + QStringLiteral("[CR][LF]\n"));
    for (const BoxValue& v : replyValues(frame))
        u->cmmddata[size_t(v.box)]->setText(v.text);
}

void Ctrl_9064_gps::takeReference(const Position& fix)
{
    Ui* u = ui();
    u->latlon[0]->setText(fmt(fix.lat, QStringLiteral("0.00000000")));
    u->latlon[1]->setText(fmt(fix.lon, QStringLiteral("0.00000000")));
}

void Ctrl_9064_gps::analyse(const QStringList& fields)
{
    Ui* u = ui();
    // A sentence without a fix (short, no position, quality 0) is shown
    // but never taken as a position: it would plot the far side of the
    // earth, or become the reference.
    const std::optional<Position> fix = ggaFix(fields);
    if (!fix)
        return;
    if (u->capture->isChecked()) {
        u->capture->setChecked(false);
        takeReference(*fix);
        return;
    }
    if (!u->plotpoints->isChecked())
        return;
    if (u->latlon[0]->text().isEmpty() || u->latlon[1]->text().isEmpty()) {
        takeReference(*fix);
        return;
    }
    const Position reference{numval(u->latlon[0]->text()), numval(u->latlon[1]->text())};
    const Errors errors = positionErrors(reference, *fix);

    if (u->logdata->isChecked()) {
        const LogBoxes boxes{u->gprmc[0]->text(), u->gprmc[1]->text(), u->gpgga[2]->text(), u->gpgga[4]->text(),
                             u->gpgga[8]->text(), u->gpgga[5]->text(), u->gpgga[6]->text(), u->gpgga[7]->text(),
                             u->gprmc[6]->text(), u->gprmc[7]->text()};
        const QString path = logPath();
        if (m_log.append(path, logHeader(), logLine(boxes, *fix, errors)) == LogSequence::Failed) {
            alertbox(QStringLiteral("Log file error"), QStringLiteral("Cannot write ") + path, 0);
            if (!ui())
                return;
        }
    }

    const Errors clamped{clampError(errors.lat), clampError(errors.lon)};
    PictureBox* plot = u->location;
    plot->setFillSolid(true);
    plot->setFillColor(colors::white);
    drawPoint(lastpoint.lat, lastpoint.lon, colors::red);
    plot->setFillColor(blue);
    drawPoint(clamped.lat, clamped.lon, blue);
    plot->setFillSolid(false);
    lastpoint = clamped;
    resetplot(1);

    const int total = int(numval(u->poscounts->text())) + 1;
    u->poscounts->setText(QString::number(total));
    u->xlaterror->setText(fmt(clamped.lat, QStringLiteral("0.0")));
    u->xlonerror->setText(fmt(clamped.lon, QStringLiteral("0.0")));
    ++ringcount[size_t(ringIndex(clamped))];
    const bool percent = u->countmode[0]->isChecked();
    for (size_t i = 0; i < ringcount.size(); ++i)
        u->variances[i]->setText(ringText(ringcount[i], total, percent));
}

void Ctrl_9064_gps::drawPoint(double x, double y, const QColor& color)
{
    Ui* u = ui();
    if (u->pointshape[1]->isChecked())
        u->location->box(x + 73, y + 73, x + 77, y + 77, color);
    else
        u->location->circle(x + 75, y + 75, 2, color);
}

void Ctrl_9064_gps::resetplot(int which)
{
    Ui* u = ui();
    if (!u)
        return;
    PictureBox* plot = u->location;
    if (which == 0) {
        plot->cls();
        u->poscounts->setText(QStringLiteral("0"));
        for (QLineEdit* v : u->variances)
            v->setText(QStringLiteral("0.0"));
        ringcount.fill(0);
        lastpoint = {1000, 1000};
    }
    plot->line(0, 75, 150, 75, colors::black);
    plot->line(75, 0, 75, 150, colors::black);
    for (int r = 10; r <= 70; r += 10)
        plot->circle(75, 75, r, colors::black);
}

void Ctrl_9064_gps::choiceOfOne(int group, int index)
{
    Ui* u = ui();
    bool& busy = m_choiceBusy[size_t(group)];
    if (!u || busy || index < 0 || index > 1)
        return;
    busy = true;
    auto& pair = group == 0 ? u->countmode : u->pointshape;
    pair[size_t(index)]->setChecked(true);
    pair[size_t(1 - index)]->setChecked(false);
    busy = false;
}

void Ctrl_9064_gps::latlon_DblClick()
{
    const QString path = selectfile(QString(), QStringLiteral("*.txt"), locfolder, QStringLiteral("Select location file"));
    if (path.isEmpty() || !ui())
        return;
    locfolder = pathpart(path, 3);
    // A location file is two lines; one past this size is no location file,
    // and is refused whole rather than read in part.
    constexpr qint64 cap = 1024 * 1024;
    const TextLines file = readTextLines(path, cap, TextLines::NoLines);
    if (file.status == TextLines::TooLarge) {
        alertbox(QStringLiteral("Location file error"),
                 toolargetext(path, cap) + QStringLiteral("  The reference was not changed."), 0);
        return;
    }
    const std::optional<Position> ref = file.ok() ? locationLines(file.lines) : std::nullopt;
    if (!ref) {
        alertbox(QStringLiteral("Location file error"),
                 QStringLiteral("\"") + path +
                     QStringLiteral("\" does not hold a latitude and a longitude in decimal degrees on its first two "
                                    "lines.  The reference was not changed."),
                 0);
        return;
    }
    takeReference(*ref);
}
