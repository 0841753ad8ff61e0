#pragma once
// The Lumatile command set's help: a topic list and the topic's page, an
// RTF file "lu_" + page name in the program's folder.

#include "common/toolwindow.h"

class Ctrl_9693_lumatilehelp : public ToolWindow {
    Q_OBJECT
public:
    Ctrl_9693_lumatilehelp();

    // The page file of a topic text, by its lower-cased text; "" for none.
    static QString pageOf(const QString& topic);
    // The topics in list order, item 0 first.
    static QStringList topics();

    void helplist_Click();

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
};
