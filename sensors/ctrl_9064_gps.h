#pragma once
// The front end of the 9064 GPS/RTC module: NMEA sentences decoded into two
// rows of boxes, the module's "$PDME" command panel, and the wander of each
// fix from a reference location on a 150 by 150 foot scatter plot with
// square-ring statistics and a CSV log.

#include "gpsanalysis.h"

#include "common/logfile.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

#include <array>

class Ctrl_9064_gps : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9064_gps();

    SerialController serial;

    // The folder of the last location file; starts the location chooser.
    QString locfolder;

    void process(int what, const QString& text);
    void cmmd_Click(int index);
    void resetplot(int which);
    void Label1_Click();
    void latlon_DblClick();

    // The settings file "Voltaris_9064.ini" in the program's folder.
    static QString settingsPath();
    // The log in the work folder.
    static QString logPath();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;

    void decodeGga(const QStringList& fields);
    void decodeRmc(const QStringList& fields);
    void reply(const QString& frame);
    void analyse(const QStringList& fields);
    void takeReference(const gps::Position& fix);
    void drawPoint(double x, double y, const QColor& color);
    void choiceOfOne(int group, int index);
    void loadSettings();
    void saveSettings();

    std::array<int, gps::ringCount> ringcount{};
    gps::Errors lastpoint{1000, 1000};
    // Busy flags of the two choice-of-one pairs (countmode, pointshape).
    std::array<bool, 2> m_choiceBusy{};
    LogSequence m_log;
};
