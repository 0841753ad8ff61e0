#include "helpwindow.h"

#include "formbuilder.h"
#include "rtfview.h"

namespace {
constexpr int kMargin = 60;
}

HelpWindow::HelpWindow(const QString& className, const QString& caption, const QString& textBoxName,
                       const QString& pageFile, QSize clientTwips, QRect boxTwips)
    : ToolWindow(className, clientTwips)
    , m_caption(caption)
    , m_boxName(textBoxName)
    , m_page(pageFile)
    , m_box(boxTwips.isValid() ? boxTwips
                               : QRect(kMargin, kMargin, clientTwips.width() - 2 * kMargin,
                                       clientTwips.height() - 2 * kMargin))
{
}

RtfView* HelpWindow::textBox() const
{
    const auto* ui = controls<Ui>();
    return ui ? ui->text : nullptr;
}

void HelpWindow::build(QWidget* form)
{
    auto* ui = makeControls<Ui>();
    form->setWindowTitle(m_caption);
    ui->text = place<RtfView>(form, m_boxName, m_box.x(), m_box.y(), m_box.width(), m_box.height());
    onMouseDown(ui->text->viewport(), [this] { hide(); });
}

void HelpWindow::onLoad()
{
    if (auto* box = textBox())
        box->loadPage(m_page);
}
