#include "ctrl_8065_curvetracer.h"

#include "common/alert.h"
#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/numtext.h"
#include "common/paths.h"
#include "common/savefile.h"
#include "common/verror.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace curvetracer;

namespace {
constexpr int boardBaud = 115200;
}

struct Ctrl_8065_curvetracer::Ui : Controls {
    QPushButton* Command1 = nullptr;
    QLineEdit* sample = nullptr;
    QLineEdit* current = nullptr;
    QLineEdit* voltage = nullptr;
    QComboBox* shunt = nullptr;
    QCheckBox* savefiles = nullptr;
    QLineEdit* filecount = nullptr;
    QLineEdit* fileroot = nullptr;
    QLineEdit* responsewin = nullptr;
    QComboBox* portselect = nullptr;
};

Ctrl_8065_curvetracer::Ctrl_8065_curvetracer()
    : ToolWindow(QStringLiteral("Ctrl_8065_curvetracer"), QSize(5520, 3720)),
      serial(*this, [] { return QStringLiteral("115200,n,8,1"); },
             [this](int what, const QString& text) { process(what, text); })
{
    serial.setAfterOpen([this] { checkSpeed(); });
}

Ctrl_8065_curvetracer::Ui* Ctrl_8065_curvetracer::ui() const
{
    return controls<Ui>();
}

void Ctrl_8065_curvetracer::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Curve Tracer"));
    auto* u = makeControls<Ui>();
    auto label = [&](const char* text, double top, const char* name) {
        placeLabel(form, QString::fromLatin1(text), 120, top + 45, 1320, 255, QString::fromLatin1(name));
    };
    auto reading = [&](const char* name, double top) {
        auto* b = place<QLineEdit>(form, QString::fromLatin1(name), 1440, top, 1200, 315);
        b->setText(QStringLiteral("0"));
        b->setAlignment(Qt::AlignRight);
        setOutputBox(b);
        return b;
    };

    u->Command1 = place<QPushButton>(form, QStringLiteral("Command1"), 2880, 120, 2520, 495);
    u->Command1->setText(QStringLiteral("Scan a Device"));
    on(u->Command1, &QPushButton::clicked, [this] { Command1_Click(); });

    label("Com Port", 120, "Label_port");
    u->portselect = place<QComboBox>(form, QStringLiteral("portselect"), 1440, 120, 1200, 315);
    u->portselect->addItem(QStringLiteral("Select"));
    serial.attach(u->portselect);

    label("Sample", 600, "Label_sample");
    u->sample = reading("sample", 600);
    label("Current-uA", 990, "Label_current");
    u->current = reading("current", 990);
    label("Voltage-V", 1380, "Label_voltage");
    u->voltage = reading("voltage", 1380);

    label("Shunt-kOhms", 1770, "Label_shunt");
    u->shunt = place<QComboBox>(form, QStringLiteral("shunt"), 1440, 1770, 1200, 315);
    for (int ohms : {1, 10, 100, 1000})
        u->shunt->addItem(QString::number(ohms), ohms);
    onKeyPress(u->shunt, [](int) { return 0; });

    label("File Count", 2160, "Label_filecount");
    u->filecount = place<QLineEdit>(form, QStringLiteral("filecount"), 1440, 2160, 1200, 315);
    u->filecount->setText(QStringLiteral("0"));
    u->filecount->setAlignment(Qt::AlignRight);
    u->savefiles = place<QCheckBox>(form, QStringLiteral("savefiles"), 2760, 2190, 255, 255);
    u->savefiles->setToolTip(QStringLiteral("Save each sweep to a file"));
    onKeyPress(u->filecount, [](int key) { return keyinteger(key); });
    onDoubleClick(u->filecount, [this] { ui()->filecount->setText(QStringLiteral("0")); });
    // Only a whole number from 0 up names a file; anything else pasted in
    // gives way to the last count on leaving the box.
    on(u->filecount, &QLineEdit::textChanged, [this](const QString& t) {
        if (isFileCount(t))
            m_goodCount = t;
    });
    onFocusOut(u->filecount, [this] {
        if (!isFileCount(ui()->filecount->text()))
            ui()->filecount->setText(m_goodCount);
    });

    u->fileroot = place<QLineEdit>(form, QStringLiteral("fileroot"), 120, 2610, 5280, 315);
    u->fileroot->setText(joinpath(worktemp(), QStringLiteral("Zeners")));
    u->responsewin = place<QLineEdit>(form, QStringLiteral("responsewin"), 120, 3060, 5280, 315);
    u->responsewin->setText(QStringLiteral("Text1"));
}

void Ctrl_8065_curvetracer::onLoad()
{
    serial.load();
    initchars();
    m_goodCount = ui()->filecount->text();
    ui()->shunt->setCurrentIndex(2);
}

void Ctrl_8065_curvetracer::onUnload()
{
    serial.unload();
}

// The board runs at 115200 only: a port that cannot is no use to it.
void Ctrl_8065_curvetracer::checkSpeed()
{
    const int speed = serial.rs232.speed();
    if (speed < boardBaud)
        throw VError(verr::PortError, QStringLiteral("%1 runs at %2 baud; the curve tracer needs %3 baud.")
                                          .arg(serial.rs232.portName())
                                          .arg(speed)
                                          .arg(boardBaud));
    serial.rs232.setDtr(true);
}

void Ctrl_8065_curvetracer::Command1_Click()
{
    Ui* u = ui();
    if (!u)
        return;
    const QString dashes = QStringLiteral("---");
    u->sample->setText(dashes);
    u->current->setText(dashes);
    u->voltage->setText(dashes);
    if (serial.portopen)
        serial.comwrite(QStringLiteral("#"), 0);
}

void Ctrl_8065_curvetracer::process(int what, const QString&)
{
    if (what != 255 || !ui())
        return;
    const QString frame = serial.nextReply();
    if (frame.isEmpty())
        return;
    ui()->responsewin->setText(frame);
    const Frame f = parseFrame(frame);
    switch (f.kind) {
    case Frame::Start:
        sweep.clear();
        break;
    case Frame::Stop:
        sweepEnd();
        break;
    case Frame::Point:
        point(f);
        break;
    case Frame::Other:
        break;
    }
}

void Ctrl_8065_curvetracer::point(const Frame& f)
{
    Ui* u = ui();
    u->sample->setText(QString::number(f.number));
    u->current->setText(fmt(f.senseMillivolts / u->shunt->currentData().toDouble(), QStringLiteral("0.000")));
    u->voltage->setText(fmt(f.millivolts / 1000, QStringLiteral("0.000")));
    // A number past the table's 0..255 is shown but has no place to go.
    sweep.set(f.number, u->current->text() + u',' + u->voltage->text());
}

void Ctrl_8065_curvetracer::sweepEnd()
{
    Ui* u = ui();
    beep();
    if (!u->savefiles->isChecked())
        return;
    const QString count = isFileCount(u->filecount->text()) ? u->filecount->text() : m_goodCount;
    const qint64 number = count.toLongLong();
    const QString path = sweepFileName(u->fileroot->text(), number);
    if (!savebytes(path, sweep.fileBytes())) {
        alertbox(QStringLiteral("Sweep file error"), QStringLiteral("Cannot write ") + path, 0);
        return;
    }
    u->filecount->setText(QString::number(number + 1));
}
