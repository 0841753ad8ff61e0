#include "ctrl_9693_lumatilehelp.h"

#include "common/formbuilder.h"
#include "common/paths.h"
#include "common/rtfview.h"

#include <QListWidget>

namespace {
struct Topic {
    const char* text;
    const char* page;
};
constexpr Topic topicTable[] = {
    {"Select help subject", ""},
    {"Introduction", "intro.rtf"},
    {"Instruction Set", "instructionset.rtf"},
    {"Commands", "commands.rtf"},
    {"The Null Character", "null.rtf"},
    {"Message Display", "message.rtf"},
    {"Underscore Display", "underline.rtf"},
    {"Fonts Command", "fonts.rtf"},
    {"Effects Command", "effects.rtf"},
    {"Speed Command", "speeds.rtf"},
    {"Write User Character", "eewrite.rtf"},
    {"Font: Alpha", "alpha.rtf"},
    {"Font: Numeric", "numeric.rtf"},
    {"Font: UDC Init", "udc.rtf"},
};
} // namespace

struct Ctrl_9693_lumatilehelp::Ui : Controls {
    QListWidget* helplist = nullptr;
    RtfView* helprtf = nullptr;
};

Ctrl_9693_lumatilehelp::Ctrl_9693_lumatilehelp()
    : ToolWindow(QStringLiteral("Ctrl_9693_lumatilehelp"), QSize(10200, 6000))
{
}

Ctrl_9693_lumatilehelp::Ui* Ctrl_9693_lumatilehelp::ui() const
{
    return controls<Ui>();
}

QStringList Ctrl_9693_lumatilehelp::topics()
{
    QStringList out;
    for (const Topic& t : topicTable)
        out << QString::fromLatin1(t.text);
    return out;
}

QString Ctrl_9693_lumatilehelp::pageOf(const QString& topic)
{
    const QString key = topic.toLower();
    for (const Topic& t : topicTable)
        if (QString::fromLatin1(t.text).toLower() == key)
            return QString::fromLatin1(t.page);
    return QString();
}

void Ctrl_9693_lumatilehelp::build(QWidget* form)
{
    form->setWindowTitle(QStringLiteral("Lumatiles Protocol Help"));
    auto* u = makeControls<Ui>();
    u->helplist = place<QListWidget>(form, QStringLiteral("helplist"), 120, 120, 2520, 5760);
    u->helplist->addItems(topics());
    u->helprtf = place<RtfView>(form, QStringLiteral("helprtf"), 2760, 120, 7320, 5760);
    on(u->helplist, &QListWidget::currentRowChanged, [this] { helplist_Click(); });
}

void Ctrl_9693_lumatilehelp::onLoad()
{
    ui()->helplist->setCurrentRow(0);
}

void Ctrl_9693_lumatilehelp::helplist_Click()
{
    Ui* u = ui();
    if (!u)
        return;
    const QListWidgetItem* item = u->helplist->currentItem();
    if (!item || u->helplist->currentRow() == 0)
        return;
    const QString page = pageOf(item->text());
    if (page.isEmpty())
        return;
    // loadPage shows the not-installed text for a missing or unreadable page.
    u->helprtf->loadPage(QStringLiteral("lu_") + page);
}
