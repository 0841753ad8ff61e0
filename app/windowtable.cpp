#include "windowtable.h"
#include "z_about.h"
#include "z_commondialogcontrol.h"
#include "z_notinstalled.h"

#include "common/rs232_comportscanner.h"
#include "fixtures/ctrl_9656_7441tester.h"
#include "fixtures/ctrl_9804_effsweeper.h"

namespace {
template <class T>
ToolWindow& slot()
{
    return FormSlots::get<T>();
}
} // namespace

const std::vector<WindowEntry>& windowTable()
{
    static const std::vector<WindowEntry> table = {
        {"z_about", &slot<Z_about>},
        {"testform", &slot<Z_commondialogcontrol>},
        {"rs232_comportscanner", &slot<RS232_comportscanner>},
        {"ctrl_9656_7441tester", &slot<Ctrl_9656_7441tester>},
        {"ctrl_9804_effsweeper", &slot<Ctrl_9804_effsweeper>},
    };
    return table;
}

ToolWindow& windowFor(const QString& name)
{
    // Only A-Z are folded; nothing is trimmed.
    QString key = name;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    for (const WindowEntry& e : windowTable())
        if (e.name == key)
            return e.instance();
    return FormSlots::get<Z_notinstalled>();
}
