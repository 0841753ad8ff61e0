#include "ctrl_9693_lumatile.h"
#include "linestroke.h"

#include "common/alert.h"
#include "common/charlimit.h"
#include "common/owntext.h"
#include "common/clock.h"
#include "common/controlchars.h"
#include "common/files.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/pacing.h"
#include "common/paths.h"
#include "common/textlines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>

#include <utility>

#include <array>

using namespace lumatile;

namespace {
const QColor unlit(192, 192, 192);
const QColor lit(255, 128, 0);

// Stroke k of the glyph: its end points in twips.
constexpr double strokeTwips[15][4] = {
    {1560, 2520, 2640, 2520}, {2760, 2640, 2760, 3300}, {2760, 3540, 2760, 4260}, {1560, 4380, 2640, 4380},
    {1440, 3540, 1440, 4260}, {1440, 2640, 1440, 3360}, {1560, 2640, 1980, 3300}, {2100, 2640, 2100, 3300},
    {2640, 2640, 2220, 3300}, {2220, 3420, 2700, 3420}, {2220, 3600, 2640, 4260}, {2100, 3540, 2100, 4260},
    {1980, 3600, 1560, 4260}, {1980, 3420, 1560, 3420}, {1440, 4560, 2760, 4560},
};

// A font file far larger than 126 patterns is no font file; its first
// megabyte is read all the same.
constexpr qint64 fontFileCap = 1 << 20;

const QString initialPattern(patternLength, u'0');
} // namespace

struct Ctrl_9693_lumatile::Ui : Controls {
    QComboBox* portselect = nullptr;
    QCheckBox* logtraffic = nullptr;
    QPlainTextEdit* serialout = nullptr;
    QLineEdit* statusbox = nullptr;
    QPushButton* Command1 = nullptr;
    std::array<QPushButton*, 11> Command2{};
    QLineEdit* fontfile = nullptr;
    QLineEdit* acc = nullptr;
    QLineEdit* udc = nullptr;
    QLineEdit* udcpattern = nullptr;
    std::array<LineStroke*, 15> Line1{};
    std::array<QLabel*, 15> segment{};
    // fonts, effects, speeds, underscore, sentence.
    std::array<QLineEdit*, 5> field{};
    QLineEdit* Text1 = nullptr;
    QLineEdit* charout = nullptr;
    QCheckBox* udcset = nullptr;
    std::array<QCheckBox*, 4> enabler{};
    std::array<QLineEdit*, 3> animation{};
    QLineEdit* xcount = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
};

Ctrl_9693_lumatile::Ctrl_9693_lumatile()
    : ToolWindow(QStringLiteral("Ctrl_9693_lumatile"), QSize(9900, 7500)),
      serial(*this, [] { return QStringLiteral("9600,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); }),
      fontarray(initialFont())
{
}

Ctrl_9693_lumatile::Ui* Ctrl_9693_lumatile::ui() const
{
    return controls<Ui>();
}

QString Ctrl_9693_lumatile::settingsPath()
{
    return joinpath(apppath(), QStringLiteral("lu.ini"));
}

bool Ctrl_9693_lumatile::stillHere() const
{
    return isLoaded() && !aborted() && !quitting() && ui();
}

void Ctrl_9693_lumatile::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("B7971 Lumatile serial controller and font editor"));
    auto* u = makeControls<Ui>();

    placeLabel(form, QStringLiteral("ComPort"), 120, 150, 900, 255, QStringLiteral("Label_port"));
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1020, 120, 2100, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    u->logtraffic = place<QCheckBox>(form, QStringLiteral("logtraffic"), 120, 570, 1500, 315);
    u->logtraffic->setText(QStringLiteral("Log Traffic"));
    u->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 2100, 540, 1020, 375);
    u->Command1->setText(QStringLiteral("Help"));
    on(u->Command1, &QPushButton::clicked, [] { popup(QStringLiteral("Ctrl_9693_lumatilehelp")); });

    auto button = [&](int i, const char* caption, double left, double top, double width) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("Command2"), i), left, top, width, 375);
        b->setText(QString::fromLatin1(caption));
        u->Command2[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command2_Click(i); });
        return b;
    };
    button(Init, "Init", 8400, 120, 1380)->setToolTip(QStringLiteral("Send all settings below to display string"));

    buildEditor(form, u);
    buildFields(form, u);

    u->statusbox = place<QLineEdit>(form, QStringLiteral("statusbox"), 3360, 3660, 6420, 315);
    u->statusbox->setReadOnly(true);
    u->serialout = place<QPlainTextEdit>(form, QStringLiteral("serialout"), 3360, 4080, 6420, 2400);
    u->serialout->setReadOnly(true);
    u->serialout->setPlainText(QStringLiteral("<Serial output>"));
    onDoubleClick(u->serialout->viewport(), [this] {
        if (Ui* v = ui())
            v->serialout->clear();
    });

    button(LoadFont, "Load", 3360, 6600, 960);
    button(SaveFont, "Save", 4440, 6600, 960);
    button(NewFont, "New", 5520, 6600, 960);
    button(WriteAll, "WriteAll", 6600, 6600, 1200);
    u->fontfile = place<QLineEdit>(form, QStringLiteral("fontfile"), 3360, 7080, 6420, 315);
    u->fontfile->setReadOnly(true);

    u->Timer1 = new QTimer(form);
    u->Timer1->setObjectName(QStringLiteral("Timer1"));
    u->Timer2 = new QTimer(form);
    u->Timer2->setObjectName(QStringLiteral("Timer2"));
    u->Timer2->setInterval(100);
    bindFields(u);
}

void Ctrl_9693_lumatile::buildEditor(QWidget* form, Ui* u)
{
    placeLabel(form, QStringLiteral("ASCII"), 120, 1530, 600, 255, QStringLiteral("Label_acc"));
    u->acc = place<QLineEdit>(form, QStringLiteral("acc"), 720, 1500, 600, 315);
    u->acc->setText(QStringLiteral("65"));
    u->acc->setToolTip(QStringLiteral("ASCII character code"));
    onKeyPress(u->acc, [this](int key) {
        if (key == 13) {
            normaliseAcc();
            return 0;
        }
        return key >= '0' && key <= '9' ? key : 0;
    });
    onFocusOut(u->acc, [this] { normaliseAcc(); });

    placeLabel(form, QStringLiteral("UDC"), 1560, 1530, 450, 255, QStringLiteral("Label_udc"));
    u->udc = place<QLineEdit>(form, QStringLiteral("udc"), 2040, 1500, 450, 315);
    u->udc->setText(QStringLiteral("A"));
    onKeyPress(u->udc, [this](int key) {
        udcKey(key);
        return 0;
    });
    // A paste selects its first character when that is one of the font's.
    on(u->udc, &QLineEdit::textChanged, [this](const QString& text) {
        if (m_udcGuard)
            return;
        const int code = text.isEmpty() ? -1 : text.front().unicode();
        showCode(writableCode(code) ? code : m_code);
    });

    auto* prev = place<QPushButton>(form, arrayName(QStringLiteral("Command2"), Previous), 1440, 1980, 600, 375);
    auto* next = place<QPushButton>(form, arrayName(QStringLiteral("Command2"), Next), 2160, 1980, 600, 375);
    prev->setText(QStringLiteral("<"));
    next->setText(QStringLiteral(">"));
    for (auto [b, i] : {std::pair{prev, int(Previous)}, std::pair{next, int(Next)}}) {
        u->Command2[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i = i] { Command2_Click(i); });
    }

    for (int k = 0; k < 15; ++k) {
        const auto& t = strokeTwips[k];
        u->Line1[std::size_t(k)] =
            new LineStroke(form, arrayName(QStringLiteral("Line1"), k), QLineF(t[0], t[1], t[2], t[3]), 7, unlit);
    }
    // The click targets go over every stroke, so none of them hides another.
    for (int k = 0; k < 15; ++k) {
        const QRect r = u->Line1[std::size_t(k)]->geometry();
        auto* s = new StrokeTarget(form);
        s->setObjectName(arrayName(QStringLiteral("segment"), k));
        s->setGeometry(r);
        u->segment[std::size_t(k)] = s;
        onMouseDown(s, [this, k] { segment_Click(k); });
    }

    u->udcpattern = place<QLineEdit>(form, QStringLiteral("udcpattern"), 1200, 4800, 1800, 315);
    u->udcpattern->setFont(fixedFont());
    u->udcpattern->setValidator(new CharLimit(patternLength, u->udcpattern));
    u->udcpattern->setText(initialPattern);
    onKeyPress(u->udcpattern, [this](int key) {
        if (key == 13) {
            udcpatternEnter();
            return 0;
        }
        return key == '0' || key == '1' || key == 8 || key == 127 ? key : 0;
    });
    // Every change (typed, pasted or set) is stored and drawn at once.
    on(u->udcpattern, &QLineEdit::textChanged, [this] { showsegments(); });

    auto button = [&](int i, const char* caption, double left, double top) {
        auto* b = place<QPushButton>(form, arrayName(QStringLiteral("Command2"), i), left, top, 840, 375);
        b->setText(QString::fromLatin1(caption));
        u->Command2[std::size_t(i)] = b;
        on(b, &QPushButton::clicked, [this, i] { Command2_Click(i); });
    };
    button(Off, "Off", 1200, 5280);
    button(On, "On", 2160, 5280);
    button(Write, "Write", 1200, 5760);
    button(WritePlus, "Write+", 2160, 5760);
}

void Ctrl_9693_lumatile::buildFields(QWidget* form, Ui* u)
{
    struct Row {
        const char* name;
        const char* label;
        const char* tip;
        const char* initial;
    };
    static const Row rows[5] = {
        {"fonts", "Fonts",
         "Set the fonts for each digit,  length should be equal to the number of digits.  Valid charaters are 0-9, "
         "U and !.",
         "000000"},
        {"effects", "Effects",
         "Set the transition effects for each digit, length should be equal to the number of digits.  Valid "
         "charaters are 0-9 and !.",
         "000000"},
        {"speeds", "Speeds",
         "Set the transition effect speed for each digit, length should be equal to the number of digits.  Valid "
         "charaters are 0-9 and !. (0 is fast/9 is slow)",
         "000000"},
        {"underscore", "Underscore",
         "Display underscore for each digit, length should be equal to the number of digits.  Valid charaters are "
         "0,1 and !.",
         "000000"},
        {"sentence", "Message",
         "Display a message across the array, length should be equal to the number of digits.  This window only "
         "allows charaters 0-9 and A-Z for fonts 0-9, however font U has a valid range of ASCII 0 to 125 (Except 13 "
         "and '!'). The number to the right is the length of the display string.",
         "AAAAAA"},
    };
    for (int i = 0; i < 5; ++i) {
        const Row& r = rows[i];
        const double top = 120 + i * 420;
        placeLabel(form, QString::fromLatin1(r.label), 3360, top + 30, 1020, 255,
                   QStringLiteral("Label_") + QString::fromLatin1(r.name));
        auto* b = place<QLineEdit>(form, QString::fromLatin1(r.name), 4440, top, 2640, 315);
        b->setText(QString::fromLatin1(r.initial));
        b->setToolTip(QString::fromLatin1(r.tip));
        u->field[std::size_t(i)] = b;
    }
    u->Text1 = place<QLineEdit>(form, QStringLiteral("Text1"), 7200, 1800, 480, 315);
    u->Text1->setText(QStringLiteral("6"));

    placeLabel(form, QStringLiteral("Character"), 3360, 2250, 1020, 255, QStringLiteral("Label_charout"));
    u->charout = place<QLineEdit>(form, QStringLiteral("charout"), 4440, 2220, 480, 315);
    u->charout->setText(QStringLiteral("A"));
    u->udcset = place<QCheckBox>(form, QStringLiteral("udcset"), 5040, 2220, 900, 315);
    u->udcset->setText(QStringLiteral("UDC"));
    u->udcset->setToolTip(
        QStringLiteral("When checked, this allows all keys for font U.  Other wise only 0-9 and A-Z for fonts 0-9"));

    static const char* modes[4] = {"Animate", "Time", "Date", "Count"};
    for (int i = 0; i < 4; ++i) {
        auto* c = place<QCheckBox>(form, arrayName(QStringLiteral("enabler"), i), 3360 + i * 1080, 2700, 1020, 315);
        c->setText(QString::fromLatin1(modes[i]));
        u->enabler[std::size_t(i)] = c;
    }
    u->xcount = place<QLineEdit>(form, QStringLiteral("xcount"), 7800, 2700, 1200, 315);
    u->xcount->setText(QStringLiteral("0"));

    struct Anim {
        const char* label;
        const char* tip;
        const char* initial;
        double left;
    };
    static const Anim anims[3] = {
        {"Start", "ASCII code of animation sequence start", "48", 3360},
        {"Stop", "ASCII code of animation sequence stop", "57", 4800},
        {"Delay", "Delay in mS (1 to 2000) between characters", "100", 6240},
    };
    for (int i = 0; i < 3; ++i) {
        const Anim& a = anims[i];
        placeLabel(form, QString::fromLatin1(a.label), a.left, 3210, 600, 255, arrayName(QStringLiteral("Label_animation"), i));
        auto* b = place<QLineEdit>(form, arrayName(QStringLiteral("animation"), i), a.left + 660, 3180, 660, 315);
        b->setText(QString::fromLatin1(a.initial));
        b->setToolTip(QString::fromLatin1(a.tip));
        u->animation[std::size_t(i)] = b;
    }
}

namespace {
constexpr Field fieldKinds[5] = {Field::Fonts, Field::Effects, Field::Speeds, Field::Underscore, Field::Sentence};
constexpr char16_t fieldLetters[4] = {u'F', u'E', u'S', u'U'};

// Typing stops at limit characters; text the program sets may be longer.
bool full(const QLineEdit* box, int limit)
{
    return box->text().size() - box->selectedText().size() >= limit;
}

// A key of the digit-only boxes (Text1, xcount): digits, Backspace, DEL, Enter.
int countKey(int key)
{
    return (key >= '0' && key <= '9') || key == 8 || key == 127 || key == 13 ? key : 0;
}
} // namespace

void Ctrl_9693_lumatile::bindFields(Ui* u)
{
    for (int i = 0; i < 5; ++i) {
        QLineEdit* b = u->field[std::size_t(i)];
        onKeyPress(b, [this, b, i](int key) {
            key = fieldKey(fieldKinds[i], key);
            if (key == 13) {
                fieldEnter(i);
                return 0;
            }
            if (key != 8 && key != 127 && full(b, 10))
                return 0;
            return key;
        });
        onFocusOut(b, [this, i] { fitField(i); });
    }
    onKeyPress(u->Text1, [this](int key) {
        key = countKey(key);
        if (key == 13) {
            normaliseText1();
            return 0;
        }
        return key != 8 && key != 127 && full(ui()->Text1, 2) ? 0 : key;
    });
    onFocusOut(u->Text1, [this] { normaliseText1(); });

    onKeyPress(u->charout, [this](int key) {
        charoutKey(key);
        return 0;
    });

    for (int i = 0; i < 4; ++i)
        on(u->enabler[std::size_t(i)], &QCheckBox::toggled, [this, i] { enablerClick(i); });
    for (QCheckBox* c : u->enabler)
        on(c, &QCheckBox::toggled, [this] { runTimers(); });
    on(&serial.rs232, &PortController::openChanged, [this] { runTimers(); });

    for (int i = 0; i < 3; ++i) {
        QLineEdit* b = u->animation[std::size_t(i)];
        onKeyPress(b, [this, b, i](int key) {
            if (key == 13) {
                normaliseAnimation(i);
                return 0;
            }
            if (key >= '0' && key <= '9')
                return key;
            // A letter typed into Start or Stop stands for its code.
            if (i < 2 && ((key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z')))
                b->setText(QString::number(key));
            return 0;
        });
        onFocusOut(b, [this, i] { normaliseAnimation(i); });
    }

    onKeyPress(u->xcount, [this](int key) {
        key = countKey(key);
        if (key == 13) {
            xcountEnter(true);
            return 0;
        }
        return key != 8 && key != 127 && full(ui()->xcount, 6) ? 0 : key;
    });
    onFocusOut(u->xcount, [this] { xcountEnter(false); });

    on(u->Timer1, &QTimer::timeout, [this] { Timer1_Timer(); });
    on(u->Timer2, &QTimer::timeout, [this] { Timer2_Timer(); });
}

int Ctrl_9693_lumatile::digits() const
{
    Ui* u = ui();
    return u ? digitCount(u->Text1->text()) : 6;
}

void Ctrl_9693_lumatile::fitField(int i)
{
    Ui* u = ui();
    if (!u)
        return;
    QLineEdit* b = u->field[std::size_t(i)];
    // Pasted text keeps only what the field would have let through.
    QString text = fieldFilter(fieldKinds[i], b->text());
    if (text.isEmpty() && i < 4)
        text = QStringLiteral("0");
    text = fit(text, digits());
    if (b->text() != text)
        b->setText(text);
}

void Ctrl_9693_lumatile::fieldEnter(int i)
{
    fitField(i);
    Ui* u = ui();
    if (!u)
        return;
    if (i < 4) {
        comwrite(command(QChar(fieldLetters[i]), u->field[std::size_t(i)]->text()), 5);
        if (!stillHere())
            return;
    }
    comwrite(messageCommand(ui()->field[4]->text()), 5);
}

void Ctrl_9693_lumatile::normaliseText1()
{
    Ui* u = ui();
    if (!u)
        return;
    u->Text1->setText(QString::number(digitCount(u->Text1->text())));
    // The message first, then the per-digit fields.
    for (int i : {4, 3, 0, 1, 2})
        fitField(i);
}

void Ctrl_9693_lumatile::charoutKey(int key)
{
    Ui* u = ui();
    if (key == 13) {
        // What a paste left in the box goes out as far as the port can take it.
        QString text = u->charout->text();
        text.removeIf([](QChar c) { return c.unicode() > 255; });
        comwrite(messageCommand(text), 5);
        return;
    }
    const QChar c = lumatile::charoutKey(key, u->udcset->isChecked());
    if (c.isNull())
        return;
    u->charout->setText(QString(c));
    comwrite(messageCommand(QString(c)), 5);
}

void Ctrl_9693_lumatile::setTimer1(int ms)
{
    m_timer1Interval = std::max(ms, 0);
    if (Ui* u = ui())
        u->Timer1->stop(); // a new interval starts a new period
    runTimers();
}

void Ctrl_9693_lumatile::runTimers()
{
    Ui* u = ui();
    if (!u)
        return;
    // Animate and Count change the window at every tick; Time and Date
    // only send, which needs a port. Timer1's interval is kept while it
    // rests. A Qt timer at 0 would fire on every pass of the event loop.
    const bool shows = u->enabler[0]->isChecked() || u->enabler[3]->isChecked();
    const bool sends = (u->enabler[1]->isChecked() || u->enabler[2]->isChecked()) && serial.rs232.isOpen();
    if (m_timer1Interval >= 1 && (shows || sends)) {
        if (!u->Timer1->isActive())
            u->Timer1->start(m_timer1Interval);
    } else {
        u->Timer1->stop();
    }
    // The watchdog has work only while the interval is out of range.
    if (m_timer1Interval < 1) {
        if (!u->Timer2->isActive())
            u->Timer2->start();
    } else {
        u->Timer2->stop();
    }
}

void Ctrl_9693_lumatile::enablerClick(int index)
{
    // Unchecking the others runs their handling too; only the box the user
    // clicked acts.
    if (m_modeGuard)
        return;
    Ui* u = ui();
    m_modeGuard = true;
    for (int i = 0; i < 4; ++i)
        if (i != index)
            u->enabler[std::size_t(i)]->setChecked(false);
    m_modeGuard = false;
    switch (index) {
    case 0: {
        normaliseAnimation(0);
        const Animation a = lumatile::normaliseAnimation(numval(u->animation[0]->text()),
                                                         numval(u->animation[1]->text()),
                                                         numval(u->animation[2]->text()));
        setTimer1(a.delay);
        if (m_uploading)
            m_animateAfterUpload = true;
        else
            showCode(a.start);
        break;
    }
    case 1:
    case 2:
        lastshown.clear();
        setTimer1(10);
        break;
    case 3: {
        // The Delay box as it stands, read as whole milliseconds.
        const double ms = numval(u->animation[2]->text());
        setTimer1(ms >= 1 ? int(std::min(ms, 1e9)) : 0);
        break;
    }
    default:
        break;
    }
}

void Ctrl_9693_lumatile::normaliseAnimation(int box)
{
    Ui* u = ui();
    if (!u)
        return;
    const Animation a = lumatile::normaliseAnimation(
        numval(u->animation[0]->text()), numval(u->animation[1]->text()), numval(u->animation[2]->text()));
    const int values[3] = {a.start, a.stop, a.delay};
    for (int i = 0; i < 3; ++i) {
        const QString t = QString::number(values[i]);
        if (u->animation[std::size_t(i)]->text() != t)
            u->animation[std::size_t(i)]->setText(t);
    }
    if (box == 2)
        setTimer1(a.delay);
}

void Ctrl_9693_lumatile::xcountEnter(bool check)
{
    Ui* u = ui();
    if (!u)
        return;
    const double v = numval(u->xcount->text());
    u->xcount->setText(plaindec(v));
    if (check && v == 735148)
        u->statusbox->setText(QStringLiteral("Timer interval is currently: ") + numstr(m_timer1Interval));
}

void Ctrl_9693_lumatile::onLoad()
{
    serial.load();
    m_uploading = false;
    m_ticking = false;
    m_timer1Interval = 0;
    lastshown.clear();
    Ui* u = ui();
    for (LineStroke* s : u->Line1)
        s->setColor(unlit);
    resetfont();
    m_code = normaliseCode(numval(u->acc->text()));
    QStringList settings;
    try {
        filelines(QStringLiteral("load"), settingsPath(), settings);
    } catch (const VError&) {
        // An unreadable settings file counts as none: the initial font.
    }
    u->fontfile->setText(settings.value(1));
    const QString path = u->fontfile->text();
    // A damaged settings file may name no path at all.
    if (!path.isEmpty() && !path.contains(QChar(0)) && fileexists(path) && readFont(path, true))
        u->statusbox->setText(QStringLiteral("Character set file loaded"));
    showCode(m_code);
    runTimers();
}

void Ctrl_9693_lumatile::onUnload()
{
    serial.unload();
    Ui* u = ui();
    if (!u)
        return;
    u->Timer1->stop();
    u->Timer2->stop();
    try {
        writefile(settingsPath(), encodeOwnText(u->fontfile->text() + QStringLiteral("\r\n")));
    } catch (const VError& e) {
        alertbox(QStringLiteral("Settings not saved"), e.description(), 0);
    }
}

void Ctrl_9693_lumatile::comwrite(const QString& text, int wait)
{
    if (!serial.portopen)
        return;
    serial.comwrite(text, 0);
    Ui* u = ui();
    if (!serial.portopen || !u)
        return;
    if (u->logtraffic->isChecked()) {
        QPlainTextEdit* log = u->serialout;
        const QTextDocument* doc = log->document();
        // Only the first block is looked at, so a long log costs nothing here.
        const bool fresh = doc->isEmpty()
            || (doc->blockCount() == 1 && doc->firstBlock().text() == QLatin1String("<Serial output>"));
        if (fresh)
            log->setPlainText(logLine(text));
        else
            log->appendPlainText(logLine(text));
    }
    if (wait > 0)
        delay(wait);
}

void Ctrl_9693_lumatile::process(int what, const QString&)
{
    if (what != 255)
        return;
    // The board's replies carry nothing the window uses.
    if (!serial.nextReply().isEmpty() && isLoaded())
        form()->update();
}

void Ctrl_9693_lumatile::resetfont()
{
    fontarray = initialFont();
}

void Ctrl_9693_lumatile::showsegments()
{
    Ui* u = ui();
    if (!u)
        return;
    const QString p = cleanPattern(u->udcpattern->text());
    fontarray[std::size_t(m_code)] = p;
    for (int k = 0; k < 15; ++k)
        u->Line1[std::size_t(k)]->setColor(p[k] == u'0' ? unlit : lit);
}

void Ctrl_9693_lumatile::showCode(int code)
{
    Ui* u = ui();
    m_code = normaliseCode(code);
    if (!u)
        return;
    m_udcGuard = true;
    u->udc->setText(QString(QChar(m_code)));
    m_udcGuard = false;
    u->acc->setText(QString::number(m_code));
    // Setting the pattern stores and draws it (its change handler).
    const QString p = fontarray[std::size_t(m_code)];
    if (u->udcpattern->text() == p)
        showsegments();
    else
        u->udcpattern->setText(p);
}

void Ctrl_9693_lumatile::normaliseAcc()
{
    Ui* u = ui();
    if (!u)
        return;
    showCode(normaliseCode(numval(u->acc->text())));
}

void Ctrl_9693_lumatile::udcKey(int key)
{
    if (!writableCode(key))
        return;
    showCode(key);
    sendMessageOfCurrent(5);
}

void Ctrl_9693_lumatile::udcpatternEnter()
{
    Ui* u = ui();
    if (!u)
        return;
    u->udcpattern->setText(cleanPattern(u->udcpattern->text()));
    writeCurrent(10);
}

void Ctrl_9693_lumatile::writeCurrent(int wait)
{
    // The command is built from the code and the font, never from the boxes,
    // so codes 10 to 12 and any pasted text go out exactly.
    const int code = m_code;
    comwrite(writeCommand(code, fontarray[std::size_t(code)]), wait);
    if (stillHere())
        comwrite(messageCommand(QString(QChar(code))), 10);
}

void Ctrl_9693_lumatile::sendMessageOfCurrent(int wait)
{
    comwrite(messageCommand(QString(QChar(m_code))), wait);
}

void Ctrl_9693_lumatile::segment_Click(int index)
{
    Ui* u = ui();
    if (!u || index < 0 || index > 14)
        return;
    LineStroke* s = u->Line1[std::size_t(index)];
    s->setColor(s->color() == unlit ? lit : unlit);
    QString p;
    for (LineStroke* l : u->Line1)
        p += l->color() == unlit ? u'0' : u'1';
    fontarray[std::size_t(m_code)] = p;
    u->udcpattern->setText(p);
}

void Ctrl_9693_lumatile::Command2_Click(int index)
{
    Ui* u = ui();
    if (!u)
        return;
    switch (index) {
    case Off:
        u->udcpattern->setText(initialPattern);
        showsegments();
        break;
    case On:
        u->udcpattern->setText(QString(patternLength, u'1'));
        showsegments();
        break;
    case Write:
        showsegments();
        writeCurrent(5);
        break;
    case WritePlus: {
        showsegments();
        const int code = m_code;
        writeCurrent(5);
        if (!stillHere())
            return;
        // Step from the character written, whatever moved meanwhile.
        showCode(stepCode(code, +1));
        break;
    }
    case Previous:
    case Next:
        showCode(stepCode(m_code, index == Next ? +1 : -1));
        sendMessageOfCurrent(5);
        break;
    case LoadFont:
        loadFontFile();
        break;
    case SaveFont:
        saveFontFile();
        break;
    case NewFont:
        resetfont();
        showCode(m_code);
        sendMessageOfCurrent(5);
        if (!stillHere())
            return;
        u->statusbox->setText(QStringLiteral("Font array has been cleared"));
        showsegments();
        break;
    case WriteAll:
        upload();
        break;
    case Init:
        comwrite(command(u'F', u->field[0]->text()), 5);
        for (auto [letter, i] : {std::pair{u'E', 1}, std::pair{u'S', 2}}) {
            if (!stillHere())
                return;
            comwrite(command(QChar(letter), u->field[std::size_t(i)]->text()), 5);
        }
        if (stillHere())
            comwrite(messageCommand(u->field[4]->text()), 5);
        break;
    default:
        break;
    }
}

bool Ctrl_9693_lumatile::readFont(const QString& path, bool quietWhenMissing)
{
    const TextLines t = readTextLines(path, fontFileCap);
    if (t.status == TextLines::Missing && quietWhenMissing)
        return false;
    if (t.status == TextLines::Missing || t.status == TextLines::Unreadable) {
        const QString why = notafile(path);
        alertbox(QStringLiteral("Font file error"),
                 QStringLiteral("Cannot read the font file ") + path + (why.isEmpty() ? QString() : QStringLiteral(": ") + why) + u'.',
                 0);
        return false;
    }
    fontarray = fontFromLines(t.lines);
    return true;
}

bool Ctrl_9693_lumatile::askFontFile(bool save, const QString& title, int32_t flags)
{
    const QString current = ui()->fontfile->text();
    cdc.DialogTitle = title;
    cdc.CancelError = true;
    // With no font file yet the box would open wherever the program was
    // started from (the source tree, say): the work folder is the place.
    const QString folder = pathpart(current, 3);
    cdc.InitDir = folder.isEmpty() ? worktemp() : folder;
    cdc.FileName = pathpart(current, 0);
    cdc.Filter = QStringLiteral("Font files (*.fnt)|*.fnt|Text files (*.txt)|*.txt");
    cdc.DefaultExt = QStringLiteral("fnt");
    cdc.Flags = flags;
    try {
        save ? cdc.ShowSave() : cdc.ShowOpen();
    } catch (const VError& e) {
        if (e.number() != cdl::Cancel)
            throw;
        return false;
    }
    return true;
}

void Ctrl_9693_lumatile::loadFontFile()
{
    Ui* u = ui();
    u->statusbox->clear();
    if (!askFontFile(false, QStringLiteral("Select a font file to open"),
                     cdl::HideReadOnly | cdl::PathMustExist | cdl::FileMustExist | cdl::Explorer | cdl::LongNames))
        return;
    u = ui();
    const QString path = cdc.FileName;
    if (!u || path.isEmpty() || !QFileInfo::exists(path))
        return;
    if (!readFont(path, false) || !(u = ui()))
        return;
    u->fontfile->setText(path);
    showCode(m_code);
    u->statusbox->setText(QStringLiteral("Character set file loaded"));
}

void Ctrl_9693_lumatile::saveFontFile()
{
    Ui* u = ui();
    u->statusbox->clear();
    if (!askFontFile(true, QStringLiteral("Select a font file name to save"),
                     cdl::OverwritePrompt | cdl::HideReadOnly | cdl::PathMustExist | cdl::NoReadOnlyReturn
                         | cdl::Explorer | cdl::LongNames))
        return;
    u = ui();
    const QString path = cdc.FileName;
    if (!u || path.isEmpty())
        return;
    try {
        writefile(path, fontFileBytes(fontarray));
    } catch (const VError& e) {
        // The old file and the name shown stay as they were.
        alertbox(QStringLiteral("Font file error"), e.description(), 0);
        return;
    }
    u->fontfile->setText(path);
    u->statusbox->setText(QStringLiteral("Character set file saved"));
    showsegments();
}

void Ctrl_9693_lumatile::upload()
{
    Ui* u = ui();
    if (m_uploading || !u)
        return;
    m_uploading = true;
    m_animateAfterUpload = false;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_uploading};
    comwrite(command(u'F', u->field[0]->text()), uploadPacing);
    for (int code = firstCode; code <= lastCode; ++code) {
        if (!writableCode(code))
            continue;
        if (!stillHere())
            return;
        showCode(code);
        delay(-1);
        if (!stillHere())
            return;
        comwrite(writeCommand(code, fontarray[std::size_t(code)]), uploadPacing);
        if (!stillHere())
            return;
        comwrite(messageCommand(QString(QChar(code))), uploadPacing);
    }
    if (!stillHere())
        return;
    if (serial.portopen)
        ui()->statusbox->setText(QStringLiteral("Character set has been uploaded to PIC"));
    showsegments();
    // The editor is free again; a mode clicked meanwhile starts now.
    m_uploading = false;
    Ui* v = ui();
    if (std::exchange(m_animateAfterUpload, false) && v->enabler[0]->isChecked())
        showCode(lumatile::normaliseAnimation(numval(v->animation[0]->text()), numval(v->animation[1]->text()),
                                              numval(v->animation[2]->text()))
                     .start);
}

void Ctrl_9693_lumatile::Timer1_Timer()
{
    Ui* u = ui();
    // A tick while the previous tick's message still paces is dropped, so
    // ticks never stack up behind a slow port.
    if (!u || m_ticking)
        return;
    m_ticking = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_ticking};
    const int n = digits();
    if (u->enabler[0]->isChecked()) {
        // The upload owns the editor while it runs.
        if (m_uploading)
            return;
        const Animation a = lumatile::normaliseAnimation(numval(u->animation[0]->text()),
                                                         numval(u->animation[1]->text()),
                                                         numval(u->animation[2]->text()));
        showCode(nextAnimated(m_code, a));
        comwrite(messageCommand(QString(n, QChar(m_code))), 5);
    } else if (u->enabler[1]->isChecked()) {
        const QString t = timeText(timeOfDay());
        if (t != lastshown) {
            comwrite(messageCommand(timeMessage(t)), 5);
            lastshown = t;
        }
    } else if (u->enabler[2]->isChecked()) {
        const QString d = dateText(today());
        if (d != lastshown) {
            comwrite(messageCommand(dateMessage(d)), 5);
            lastshown = d;
        }
    } else if (u->enabler[3]->isChecked()) {
        comwrite(messageCommand(countMessage(u->xcount->text(), n)), 5);
        if (!stillHere())
            return;
        u->xcount->setText(plaindec(numval(u->xcount->text()) + 1));
    }
}

void Ctrl_9693_lumatile::Timer2_Timer()
{
    Ui* u = ui();
    if (!u || m_timer1Interval >= 1)
        return;
    const int old = m_timer1Interval;
    setTimer1(10);
    u->statusbox->setText(QStringLiteral("Timer 1 interval was out of range at ") + numstr(old));
}
