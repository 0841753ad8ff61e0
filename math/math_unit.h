#pragma once
// Unit converter: thirteen kinds of quantity, each a pair of entry boxes
// with a unit selector under each; typing into one box rewrites the other
// in its unit. The units and their factors come from "units.udb" in the
// program's folder, read when the window loads.

#include "common/toolwindow.h"
#include "unittable.h"

class Math_unit : public ToolWindow {
    Q_OBJECT
public:
    Math_unit();

    // Reads the unit table into the selectors and the factor table,
    // serving the event loop while a large one is read.
    void loadunits();
    // True while the table is being read.
    bool reading() const { return m_reading; }
    // Converts the box `which` into its partner.
    void recalc();
    // The box or selector whose partner is rewritten next.
    int which() const { return m_which; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
    void unitentry_Change(int index);
    void unitselector_Click(int index);

    FactorTable m_table;
    int m_which = 0;
    bool m_loaded = false;
    bool m_writing = false;
    bool m_reading = false;
};
