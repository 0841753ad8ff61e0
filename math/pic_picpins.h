#pragma once
// The PIC pin definer: port pages on which the pins of a PIC are named and
// set up, a device list limiting them to one part, the C text generated
// from them, and the ".pin" file that keeps a table.

#include "picpintable.h"

#include "common/toolwindow.h"

class PIC_picpins : public ToolWindow {
    Q_OBJECT
public:
    PIC_picpins();

    // mode "tofile" (any case) also writes filenme + ".txt".
    void writedata(const QString& mode);
    // "load" builds the device list; anything else applies the selection.
    void selectdevice(const QString& which);
    void fileload();
    void filesave();
    void clearall();
    void command_Click(int index);

    // The table the port pages show.
    PinTable table() const;

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
    void buildPortPage(QWidget* page, int port);
    void buildToolsPage(QWidget* page);
    void toggle(int entry, bool dataBox);
    void showTable(const PinTable& t);
    void setMode(int port, int mode);
    bool writeFile(const QString& path, const QByteArray& bytes);
};
