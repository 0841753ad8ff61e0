#include "coreselector.h"

#include "common/coredata.h"
#include "common/fields.h"
#include "common/formbuilder.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QStringList>

#include <algorithm>

namespace coresel {

QComboBox* place(ToolWindow& w, QWidget* form, double left, double top, double width,
                 const std::function<void(int)>& choose)
{
    auto* box = ::place<QComboBox>(form, QStringLiteral("coreselector"), left, top, width, 315);
    box->addItem(QStringLiteral("Select"));
    w.onKeyPress(box, [](int) { return 0; });
    w.on(box, &QComboBox::currentIndexChanged, [choose](int index) { choose(index); });
    return box;
}

void hookSheet(ToolWindow& w, QLabel* caption, QComboBox* selector)
{
    w.onMouseDown(caption, [selector] {
        const int index = selector->currentIndex();
        if (index >= 1)
            coredata(-index);
    });
}

void fill(QComboBox* selector)
{
    // Field 1 of the list is the number of its last field; the entries
    // follow, "Select" first.
    const QStringList fields = coredata(0).split(QChar(255));
    const qsizetype last = std::min<qsizetype>(qsizetype(numval(fields.value(0))), fields.size());
    {
        const QSignalBlocker quiet(selector);
        selector->clear();
        for (qsizetype k = 1; k < last; ++k)
            selector->addItem(fields[k]);
        if (selector->count() == 0)
            selector->addItem(QStringLiteral("Select"));
    }
    selector->setCurrentIndex(0);
}

QString field(int row, int k)
{
    return getfield(coredata(row), k, QStringLiteral(" "));
}

DesignTool::Rules rules()
{
    DesignTool::Rules r;
    r.enter = DesignTool::Step::Recalc;
    r.leave = DesignTool::Step::Recalc;
    r.keyUp = true;
    r.selectOnFocus = true;
    r.recalcOnOpen = false;
    return r;
}

} // namespace coresel
