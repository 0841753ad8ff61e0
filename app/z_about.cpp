#include "z_about.h"

#include "common/controlchars.h"
#include "common/formbuilder.h"
#include "common/rtfview.h"
#include "common/version.h"

Z_about::Z_about() : ToolWindow(QStringLiteral("Z_about"), QSize(11685, 6270)) {}

void Z_about::build(QWidget* form)
{
    auto* ui = makeControls<Ui>();
    form->setWindowTitle(QStringLiteral("About the RVM Voltaris and Utility Collection"));
    ui->aboutbox = place<RtfView>(form, QStringLiteral("aboutbox"), 60, 60, 11535, 5895);
    onDoubleClick(form, [this] { hide(); });
    onMouseDown(ui->aboutbox->viewport(), [this] { hide(); });
}

void Z_about::onLoad()
{
    initchars();
    setCaption(caption() + QStringLiteral("      Revision:  ") + revision());
    if (auto* ui = controls<Ui>())
        ui->aboutbox->loadPage(QStringLiteral("RevisionHistory.rtf"));
}
