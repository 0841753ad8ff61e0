#pragma once
// DesignTool: the base of the live calculators (power-supply, component,
// oscillator and math design tools). A calculator holds its inputs and
// results in one array of one-line boxes ("spec_0", "spec_1", ...), each
// with a caption label on its left and a unit label on its right (the label
// array "Label1"), and recomputes in its one procedure recalc(which).
//
// Usage:
//
//   class PSUtil_thing : public DesignTool {
//   public:
//       PSUtil_thing() : DesignTool("PSUtil_thing", QSize(5000, 3000), rules()) {}
//   protected:
//       static Rules rules() {
//           Rules r;
//           r.resultColor = QColor(255, 224, 192);     // tint of result boxes
//           r.enter = Step::ReformatRecalc;            // Enter: re-format, recalc(i)
//           r.leave = Step::ReformatRecalc;            // leaving a box
//           r.keyUp = true;                            // key release: recalc(-1)
//           r.selectOnFocus = true;
//           return r;
//       }
//       void build(QWidget* form) override {
//           form->setWindowTitle("Thing");
//           addBoxes(form, {
//               {0, "Vin", "Volts", "5.000", Kind::Decimal, "0.000"},
//               {1, "Turns", "", "10", Kind::Whole, "0"},
//               {2, "Pout", "Watts", "0.000", Kind::Result, "0.000", "tooltip"},
//           }, Grid{});
//           // ... the window's other controls (own Ui struct via makeControls)
//       }
//       void recalc(int which) override {
//           const double v = value(0);             // plain decimal conversion
//           if (v <= 0) setText(2, "---");
//           else put(2, thingPower(v), "0.000");   // "---" for NaN/inf
//       }
//   };
//
// The formulas themselves live in plain functions beside the window.
// recalc is started by the events the Rules name (text change, key release,
// Enter, leaving a box), by refresh(which) from the window's own handlers,
// and once on opening when Rules::recalcOnOpen is set. While recalc runs, the
// boxes it writes do not start a nested recalc (the results would be the
// same), so a change handler never recurses.
//
// Key filter: Decimal boxes pass "0"-"9", ".", BS and DEL; Whole boxes
// "0"-"9", BS and DEL; result and fixed boxes are read-only. Enter runs the
// Enter step and never reaches the box. Pasted text bypasses the filter, so
// recalc must cope with negative, empty and non-numeric text (value() reads
// the leading number or 0).
//
// A window that needs more than the Rules overrides the hooks: filterKey
// (another key set), boxEnter/boxLeave (range limits before recalc),
// keyUpWhich (the which of a key release), keyTyped (state kept per key),
// pattern (a pattern the user chooses), reformat.

#include "toolwindow.h"

#include <QColor>
#include <QPointer>
#include <QString>

#include <map>
#include <vector>

class QLineEdit;
class QLabel;

class DesignTool : public ToolWindow {
    Q_OBJECT
public:
    enum class Kind {
        Decimal, // input: digits and one "."
        Whole,   // input: digits only
        Result,  // read-only, tinted, written by recalc
        Fixed,   // read-only, tinted, never written
    };
    // What an event does to its box.
    enum class Step { None, Reformat, Recalc, ReformatRecalc, RecalcReformat };

    struct Box {
        Box() = default;
        Box(int index_, QString caption_, QString unit_, QString text_, Kind kind_ = Kind::Decimal,
            QString pattern_ = {}, QString tip_ = {}, QColor color_ = {})
            : index(index_), caption(std::move(caption_)), unit(std::move(unit_)), text(std::move(text_)),
              kind(kind_), pattern(std::move(pattern_)), tip(std::move(tip_)), color(color_)
        {
        }
        int index = -1;   // element index in the box array; -1 ({}): an empty row
        QString caption;  // label on the left ("" for none)
        QString unit;     // label on the right ("" for none)
        QString text;     // design-time text
        Kind kind = Kind::Decimal;
        QString pattern;  // fixed pattern of re-formatting ("" for none)
        QString tip;      // tooltip of the caption
        QColor color = QColor(); // background; invalid: the window's default
    };

    // Where a column of rows goes (twips).
    struct Grid {
        double left = 120;
        double top = 120;
        double captionWidth = 1335;
        double boxWidth = 1215;
        double unitWidth = 735;
        double rowHeight = 360;
        double boxHeight = 285;
        double gap = 60;
    };

    struct Rules {
        QString arrayName = QStringLiteral("spec");
        QColor resultColor = QColor(192, 255, 255); // invalid: not tinted
        Step enter = Step::ReformatRecalc;
        Step leave = Step::ReformatRecalc;
        bool change = false;            // text change: recalc(index)
        bool changeFocusedOnly = false; // ... only of the input box that has the focus
        bool keyUp = false;             // key release: recalc(keyUpWhich(index))
        bool beforeKey = false;         // every key passed: recalc(-1) first, on the old text
        bool selectOnFocus = false;     // focus selects the whole text
        bool recalcOnOpen = true;       // recalc(-1) at the end of the load handler
    };

    DesignTool(QString className, QSize clientTwips, Rules rules);

    // The box of an index (nullptr when unloaded or no such box).
    QLineEdit* box(int index) const;
    QString text(int index) const;
    // The box read with the plain decimal conversion (0 when unloaded).
    double value(int index) const;
    // Writes a box (same text: no change event).
    void setText(int index, const QString& text);
    // Writes a value with a fixed pattern; "---" when it has no value.
    void put(int index, double value, const QString& pattern);
    // Writes the box's own value back with its pattern.
    virtual void reformat(int index);
    // Runs recalc(which) with the re-entry guard (for the window's handlers).
    void refresh(int which);
    // Index of the box that last received the focus (-1 none yet).
    int focusBox() const { return m_focusBox; }
    const Rules& rules() const { return m_rules; }
    std::vector<int> indices() const;

    // General number form: the shortest text of a value, "---" for none.
    static QString general(double value);

protected:
    virtual void recalc(int which) = 0;
    // Pattern of re-formatting a box (the table's, unless the window chooses).
    virtual QString pattern(int index) const;
    // The which of a key release in a box.
    virtual int keyUpWhich(int /*index*/) const { return -1; }
    // Every key typed into an input box, before the filter.
    virtual void keyTyped(int /*index*/, int /*key*/) {}
    // The key filter of an input box: the key to keep, 0 to drop it.
    // Enter (13) runs boxEnter and is dropped.
    virtual int filterKey(int index, int key);
    // Enter in an input box, and leaving one: the Rules' steps by default.
    virtual void boxEnter(int index) { runStep(m_rules.enter, index); }
    virtual void boxLeave(int index) { runStep(m_rules.leave, index); }
    void runStep(Step step, int index);

    // Places a column of rows (boxes with their labels); returns the twips
    // just below the last row.
    double addBoxes(QWidget* form, const std::vector<Box>& rows, const Grid& grid);
    // Places the next element of the label array (a caption that belongs to
    // no single box), so that later rows keep counting after it.
    QLabel* addLabel(QWidget* form, const QString& text, double left, double top, double width, double height);
    void onLoad() override;

private:
    struct Entry {
        QPointer<QLineEdit> edit;
        Box spec;
    };
    void hook(int index);

    Rules m_rules;
    std::map<int, Entry> m_boxes;
    int m_labels = 0;
    int m_focusBox = -1;
    int m_calcDepth = 0;
};
