#include "designtool.h"
#include "controlchars.h"
#include "formbuilder.h"
#include "numtext.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

DesignTool::DesignTool(QString className, QSize clientTwips, Rules rules)
    : ToolWindow(std::move(className), clientTwips), m_rules(std::move(rules))
{
    connect(this, &ToolWindow::unloaded, this, [this] {
        m_boxes.clear();
        m_labels = 0;
        m_focusBox = -1;
    });
}

QLineEdit* DesignTool::box(int index) const
{
    auto it = m_boxes.find(index);
    return it == m_boxes.end() ? nullptr : it->second.edit.data();
}

QString DesignTool::text(int index) const
{
    QLineEdit* b = box(index);
    return b ? b->text() : QString();
}

double DesignTool::value(int index) const
{
    return numval(text(index));
}

void DesignTool::setText(int index, const QString& t)
{
    QLineEdit* b = box(index);
    if (b && b->text() != t)
        b->setText(t);
}

void DesignTool::put(int index, double v, const QString& pat)
{
    setText(index, fmt(v, pat));
}

QString DesignTool::pattern(int index) const
{
    auto it = m_boxes.find(index);
    return it == m_boxes.end() ? QString() : it->second.spec.pattern;
}

void DesignTool::reformat(int index)
{
    const QString pat = pattern(index);
    if (!pat.isEmpty() && box(index))
        put(index, value(index), pat);
}

void DesignTool::refresh(int which)
{
    if (!isLoaded())
        return;
    ++m_calcDepth;
    try {
        recalc(which);
    } catch (...) {
        --m_calcDepth;
        throw;
    }
    --m_calcDepth;
}

std::vector<int> DesignTool::indices() const
{
    std::vector<int> out;
    for (const auto& [i, e] : m_boxes)
        out.push_back(i);
    return out;
}

QString DesignTool::general(double v)
{
    if (!isnum(v))
        return QStringLiteral("---");
    QString s = numstr(v);
    if (s.startsWith(u' '))
        s.remove(0, 1);
    return s;
}

double DesignTool::addBoxes(QWidget* form, const std::vector<Box>& rows, const Grid& g)
{
    double top = g.top;
    for (const Box& row : rows) {
        if (row.index < 0) {
            top += g.rowHeight;
            continue;
        }
        const double boxLeft = g.left + g.captionWidth + g.gap;
        if (!row.caption.isEmpty()) {
            auto* cap = place<QLabel>(form, arrayName(QStringLiteral("Label1"), m_labels++), g.left, top,
                                      g.captionWidth, g.boxHeight);
            cap->setText(row.caption);
            cap->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (!row.tip.isEmpty())
                cap->setToolTip(row.tip);
        }
        auto* edit = place<QLineEdit>(form, arrayName(m_rules.arrayName, row.index), boxLeft, top, g.boxWidth,
                                      g.boxHeight);
        edit->setText(row.text);
        const bool readOnly = row.kind == Kind::Result || row.kind == Kind::Fixed;
        edit->setReadOnly(readOnly);
        QColor back = row.color;
        if (!back.isValid() && readOnly)
            back = m_rules.resultColor;
        if (back.isValid())
            setBackColor(edit, back);
        if (!row.unit.isEmpty()) {
            auto* unit = place<QLabel>(form, arrayName(QStringLiteral("Label1"), m_labels++),
                                       boxLeft + g.boxWidth + g.gap, top, g.unitWidth, g.boxHeight);
            unit->setText(row.unit);
            unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        m_boxes[row.index] = Entry{edit, row};
        hook(row.index);
        top += g.rowHeight;
    }
    return top;
}

QLabel* DesignTool::addLabel(QWidget* form, const QString& text, double left, double top, double width,
                             double height)
{
    auto* label = place<QLabel>(form, arrayName(QStringLiteral("Label1"), m_labels++), left, top, width, height);
    label->setText(text);
    return label;
}

void DesignTool::hook(int index)
{
    QLineEdit* edit = box(index);
    const Kind kind = m_boxes[index].spec.kind;
    const bool input = kind == Kind::Decimal || kind == Kind::Whole;

    onFocusIn(edit, [this, index, edit] {
        m_focusBox = index;
        if (m_rules.selectOnFocus) {
            edit->selectAll();
            // A mouse click places the cursor after the focus arrives.
            QTimer::singleShot(0, edit, [edit] {
                if (edit->hasFocus())
                    edit->selectAll();
            });
        }
    });
    on(edit, &QLineEdit::textChanged, [this, index, input] {
        if (!m_rules.change || m_calcDepth > 0)
            return;
        if (m_rules.changeFocusedOnly && (!input || index != m_focusBox))
            return;
        refresh(index);
    });
    if (!input)
        return;
    onKeyPress(edit, [this, index](int key) {
        keyTyped(index, key);
        if (!isLoaded())
            return 0;
        if (key == 13) {
            boxEnter(index);
            return 0;
        }
        key = filterKey(index, key);
        if (key != 0 && m_rules.beforeKey)
            refresh(-1);
        return key;
    });
    onKeyUp(edit, [this, index](int, int) {
        if (m_rules.keyUp)
            refresh(keyUpWhich(index));
    });
    onFocusOut(edit, [this, index, edit] {
        // Another window taking the focus (a dialog this box opened) is
        // not leaving the box.
        if (edit->isActiveWindow())
            boxLeave(index);
    });
}

int DesignTool::filterKey(int index, int key)
{
    auto it = m_boxes.find(index);
    const bool whole = it != m_boxes.end() && it->second.spec.kind == Kind::Whole;
    const bool pass = (key >= '0' && key <= '9') || (key == '.' && !whole) || key == 8 || key == 127;
    return pass ? key : 0;
}

void DesignTool::runStep(Step step, int index)
{
    switch (step) {
    case Step::None:
        break;
    case Step::Reformat:
        reformat(index);
        break;
    case Step::Recalc:
        refresh(index);
        break;
    case Step::ReformatRecalc:
        reformat(index);
        refresh(index);
        break;
    case Step::RecalcReformat:
        refresh(index);
        reformat(index);
        break;
    }
}

void DesignTool::onLoad()
{
    initchars();
    if (m_rules.recalcOnOpen)
        refresh(-1);
}
