#pragma once
// The dual serial terminal: two independent terminals, each on its own
// port, showing what is typed and received as text or hexadecimal bytes,
// each with a command line sent whole; or, with "Single Terminal", port 1
// split into a send pane (terminal 1) and a receive pane (terminal 2).

#include "common/portcontroller.h"
#include "common/toolwindow.h"

#include <QString>
#include <array>

class RS232_multiterm : public ToolWindow {
    Q_OBJECT
public:
    RS232_multiterm();

    // mode 0 typed key, 1 received text, 3 command line, 254 clear,
    // 255 port choice; index 0 or 1.
    void process(int index, int mode, const QString& data);
    void portinit(int index);
    void focusset(int index);
    // Sets both displays whole from their buffers.
    void update();

    std::array<PortController, 2> rs232;
    // What each terminal shows, without its cursor; never trimmed.
    std::array<QString, 2> buffer;
    std::array<bool, 2> portopen{};

protected:
    void build(QWidget* form) override;
    void onLoad() override;
    void onUnload() override;
    void onActivate() override;

private:
    struct Ui;
    Ui* ui() const;
    // Shows what buffer `index` gained (or lost) from offset `from` on and
    // puts the caret at its end.
    void shown(int index, qsizetype from);
    // Writes to port `index`; a refused write ends like a failed port.
    bool send(int index, const QString& bytes);
    void closePort(int index);
    void portFailed(int index, int number, const QString& description);
    void singletermClick();
};
