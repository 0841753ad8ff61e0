#pragma once
// The Lumatile display socket: sends the "$B7" commands that set the fonts,
// effects, speeds, underscores and message of a row of 15-segment tubes,
// keeps the socket's user font in font files, edits its characters on a
// drawn glyph and uploads it, and runs four timed display modes.

#include "lumatile.h"

#include "common/commondialog.h"
#include "common/serialcontroller.h"
#include "common/toolwindow.h"

class Ctrl_9693_lumatile : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9693_lumatile();

    // Button indices of the Command2 array.
    enum Button {
        Off = 0,
        On = 1,
        Write = 2,
        WritePlus = 3,
        Previous = 4,
        Next = 5,
        LoadFont = 6,
        SaveFont = 7,
        NewFont = 8,
        WriteAll = 9,
        Init = 10,
    };

    // The pause after each command of an upload, in hundredths of a second.
    int uploadPacing = 5;

    SerialController serial;
    lumatile::Font fontarray;
    CommonDialog cdc;
    // The time or date text last sent by the Time and Date modes.
    QString lastshown;

    // The code the editor shows, and whose font entry it edits: the last
    // normalised value of `acc`, always 10..125.
    int currentCode() const { return m_code; }
    bool uploading() const { return m_uploading; }
    // The interval of Timer1 in ms (0: out of range). Timer1 runs at it
    // only while a mode has work.
    int timer1Interval() const { return m_timer1Interval; }

    static QString settingsPath();

    void comwrite(const QString& text, int wait);
    void process(int what, const QString& text = QString());
    void resetfont();
    void showsegments();
    void Command2_Click(int index);
    void segment_Click(int index);
    void Timer1_Timer();
    void Timer2_Timer();

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;

private:
    struct Ui;
    Ui* ui() const;

    void buildEditor(QWidget* form, Ui* u);
    void buildFields(QWidget* form, Ui* u);
    void bindFields(Ui* u);

    // Makes code the current character and shows it in `udc` and `udcpattern`.
    void showCode(int code);
    void normaliseAcc();
    void udcKey(int key);
    void udcpatternEnter();
    void writeCurrent(int wait);
    void sendMessageOfCurrent(int wait);
    // The font file box; false when cancelled.
    bool askFontFile(bool save, const QString& title, int32_t flags);
    void loadFontFile();
    void saveFontFile();
    // Reads a font file into the font; false (after one alert) when the
    // file cannot be read.
    bool readFont(const QString& path, bool quietWhenMissing);
    void upload();

    // The display-string fields.
    int digits() const;
    void fitField(int field);
    void fieldEnter(int field);
    void normaliseText1();
    void charoutKey(int key);
    void enablerClick(int index);
    void normaliseAnimation(int box);
    void xcountEnter(bool check);
    void setTimer1(int ms);
    // Starts or stops the timers by what they have to do.
    void runTimers();
    bool stillHere() const;

    int m_code = 65;
    bool m_uploading = false;
    // "Animate" was clicked during an upload: its start is shown when the
    // upload, which owns the editor, is done.
    bool m_animateAfterUpload = false;
    bool m_ticking = false;
    bool m_modeGuard = false;
    bool m_udcGuard = false;
    int m_timer1Interval = 0;
};
