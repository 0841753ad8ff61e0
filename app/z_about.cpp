#include "z_about.h"

#include "common/controlchars.h"
#include "common/version.h"

Z_about::Z_about()
    : HelpWindow(QStringLiteral("Z_about"), QStringLiteral("About the RVM Voltaris and Utility Collection"),
                 QStringLiteral("aboutbox"), QStringLiteral("RevisionHistory.rtf"), QSize(11685, 6270),
                 QRect(60, 60, 11535, 5895))
{
}

void Z_about::build(QWidget* form)
{
    HelpWindow::build(form);
    onDoubleClick(form, [this] { hide(); });
}

void Z_about::onLoad()
{
    initchars();
    setCaption(caption() + QStringLiteral("      Revision:  ") + revision());
    HelpWindow::onLoad();
}
