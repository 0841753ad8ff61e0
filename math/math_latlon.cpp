#include "math_latlon.h"
#include "pointing.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "common/settingline.h"
#include "common/textlines.h"
#include "common/z_selectfile.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <array>

struct Math_latlon::Ui : Controls {
    QGroupBox* Fromloc = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QLineEdit*, 2> lt{};
    std::array<QComboBox*, 2> ltd{};
    std::array<QLineEdit*, 2> ln{};
    std::array<QComboBox*, 2> lnd{};
    std::array<QLineEdit*, 2> addbox{};
    QLineEdit* pa = nullptr; // pa(3)
    std::array<QLineEdit*, 3> dist{};
};

namespace {
const QString degrees = QStringLiteral("0.00000000");
// A location file is two short lines; read no more than this of one.
constexpr qint64 maxLocationBytes = 1 << 20;

QString settingsPath()
{
    return joinpath(apppath(), QStringLiteral("latlon.ini"));
}
} // namespace

Math_latlon::Math_latlon() : ToolWindow(QStringLiteral("Math_latlon"), QSize(8520, 3600)) {}

Math_latlon::Ui* Math_latlon::ui() const
{
    return controls<Ui>();
}

void Math_latlon::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Pointing Angle Calculator"));
    auto* u = makeControls<Ui>();
    u->Fromloc = place<QGroupBox>(form, QStringLiteral("Fromloc"), 120, 60, 4080, 1680);
    u->Fromloc->setTitle(QStringLiteral(" From Location "));
    u->Frame1 = place<QGroupBox>(form, QStringLiteral("Frame1"), 4320, 60, 4080, 1680);
    u->Frame1->setTitle(QStringLiteral(" To Location "));

    int label = 0;
    auto addLabel = [&](QWidget* parent, const char* text, double left, double top, double width, const char* tip) {
        QLabel* l = placeLabel(parent, QString::fromLatin1(text), left, top, width, 255,
                               arrayName(QStringLiteral("Label1"), label++));
        if (tip)
            l->setToolTip(QString::fromLatin1(tip));
        return l;
    };
    for (int i = 0; i < 2; ++i) {
        QGroupBox* frame = i == 0 ? u->Fromloc : u->Frame1;
        addLabel(frame, "Latitude", 120, 330, 1020, "Latitude is N-S, larger as you go North");
        addLabel(frame, "Longitude", 120, 750, 1020, "Longitude is E-W, larger as you go West");
        u->lt[std::size_t(i)] = place<QLineEdit>(frame, arrayName(QStringLiteral("lt"), i), 1200, 300, 1575, 285);
        u->ln[std::size_t(i)] = place<QLineEdit>(frame, arrayName(QStringLiteral("ln"), i), 1200, 720, 1575, 285);
        u->ltd[std::size_t(i)] = place<QComboBox>(frame, arrayName(QStringLiteral("ltd"), i), 2880, 285, 735, 315);
        u->lnd[std::size_t(i)] = place<QComboBox>(frame, arrayName(QStringLiteral("lnd"), i), 2880, 705, 735, 315);
        u->addbox[std::size_t(i)] = place<QLineEdit>(frame, arrayName(QStringLiteral("addbox"), i), 120, 1200, 3840, 285);
        u->ltd[std::size_t(i)]->addItems({QStringLiteral("N"), QStringLiteral("S")});
        u->lnd[std::size_t(i)]->addItems({QStringLiteral("E"), QStringLiteral("W")});
        for (QLineEdit* box : {u->lt[std::size_t(i)], u->ln[std::size_t(i)]}) {
            box->setText(degrees);
            on(box, &QLineEdit::textChanged, [this] { calculate(); });
            onKeyPress(box, [this, box](int key) {
                key = keydecimal(key);
                if (key == 13) {
                    reformat(box);
                    return 0;
                }
                return key;
            });
            onFocusOut(box, [this, box] { reformat(box); });
        }
        for (QComboBox* list : {u->ltd[std::size_t(i)], u->lnd[std::size_t(i)]})
            on(list, &QComboBox::currentIndexChanged, [this] { calculate(); });
        onDoubleClick(frame, [this, i] { loadlocation(i); });
    }

    addLabel(form, "Angle............", 120, 1920, 1275,
             "If you are facing North, this is the CW rotation angle to point to the new location");
    u->pa = place<QLineEdit>(form, arrayName(QStringLiteral("pa"), 3), 1440, 1890, 1800, 285);
    addLabel(form, "Degrees", 3300, 1920, 900, nullptr);
    addLabel(form, "Distance.......", 120, 2340, 1275, nullptr);
    static const char* const units[3] = {"KMeters", "Miles", "Feet"};
    for (int k = 0; k < 3; ++k) {
        const double top = 2310 + k * 390;
        u->dist[std::size_t(k)] = place<QLineEdit>(form, arrayName(QStringLiteral("dist"), k), 1440, top, 1800, 285);
        addLabel(form, units[k], 3300, top + 30, 900, nullptr);
        setOutputBox(u->dist[std::size_t(k)]);
    }
    setOutputBox(u->pa);
}

void Math_latlon::onLoad()
{
    initchars();
    m_locationfolder = readSettingLine(settingsPath());
    if (m_locationfolder.isEmpty())
        m_locationfolder = worktemp();
    Ui* u = ui();
    u->ltd[0]->setCurrentIndex(0);
    u->ltd[1]->setCurrentIndex(1);
    u->lnd[0]->setCurrentIndex(0);
    u->lnd[1]->setCurrentIndex(1);
    calculate();
}

void Math_latlon::onUnload()
{
    if (writeSettingLine(settingsPath(), m_locationfolder))
        return;
    const QString why = notafile(settingsPath());
    alertbox(QStringLiteral("File error"),
             QStringLiteral("Cannot write ") + settingsPath() + (why.isEmpty() ? QString() : QStringLiteral(": ") + why), 0);
}

void Math_latlon::reformat(QLineEdit* box)
{
    if (ui())
        box->setText(fmt(numval(box->text()), degrees));
}

void Math_latlon::calculate()
{
    Ui* u = ui();
    if (!u)
        return;
    auto side = [u](int i, bool lat) {
        const double v = numval((lat ? u->lt : u->ln)[std::size_t(i)]->text());
        // Position 1 is "S" or "W".
        return (lat ? u->ltd : u->lnd)[std::size_t(i)]->currentIndex() == 1 ? -v : v;
    };
    const PointingResult r = pointingangle(side(0, true), side(0, false), side(1, true), side(1, false));
    u->pa->setText(angletext(r.angle));
    const DistanceTexts d = distancetexts(r.km);
    u->dist[0]->setText(d.km);
    u->dist[1]->setText(d.miles);
    u->dist[2]->setText(d.feet);
}

void Math_latlon::loadlocation(int which)
{
    if (which < 0 || which > 1 || !ui())
        return;
    const QString path = selectfile(QString(), QStringLiteral("*.txt"), m_locationfolder, QStringLiteral("Select location file"));
    Ui* u = ui();
    if (path.isEmpty() || !u)
        return;
    m_locationfolder = pathpart(path, 3);
    const TextLines file = readTextLines(path, maxLocationBytes, TextLines::NoLines);
    if (file.status == TextLines::TooLarge)
        alertbox(QStringLiteral("Location file error"), toolargetext(path, maxLocationBytes), 0);
    if (!file.ok())
        return;
    // A file of fewer than two lines loads what it has: a missing line
    // reads as empty, 0 to the south or west.
    const Location loc = parselocation(file.lines);
    const std::size_t i = std::size_t(which);
    u->lt[i]->setText(fmt(loc.latitude, degrees));
    u->ln[i]->setText(fmt(loc.longitude, degrees));
    u->ltd[i]->setCurrentIndex(loc.north ? 0 : 1);
    u->lnd[i]->setCurrentIndex(loc.east ? 0 : 1);
    u->addbox[i]->setText(path);
}
