#include "z_selectfile.h"
#include "files.h"
#include "formbuilder.h"
#include "paths.h"

#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStorageInfo>

namespace {
const QChar kSep = QDir::separator();

QString native(const QString& path)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
}

bool isRoot(const QString& folder)
{
    return folder.endsWith(kSep);
}

// The chooser's own current folder: where it opens when no folder is given,
// set to the folder it showed last. The process's current folder belongs
// to the whole program (relative paths of every window) and is not changed.
QString& chooserFolder()
{
    static QString folder = native(QDir::currentPath());
    return folder;
}

// A folder the dialog can open: an existing folder (not a file).
bool usableFolder(const QString& folder)
{
    return direxists(folder) && QFileInfo(folder).isDir();
}

// The root whose tree holds the folder (the longest matching root).
QString rootOf(const QString& folder, const QStringList& roots)
{
    QString best;
    for (const QString& r : roots) {
        const QString prefix = isRoot(r) ? r : r + kSep;
        if ((folder == r || folder.startsWith(prefix)) && r.size() > best.size())
            best = r;
    }
    return best;
}

// "*.*" means every name, as on the platforms the pattern comes from.
QStringList nameFilters(const QString& pattern)
{
    QStringList out;
    for (QString p : pattern.split(u';', Qt::SkipEmptyParts)) {
        p = p.trimmed();
        if (p == QStringLiteral("*.*"))
            p = QStringLiteral("*");
        if (!p.isEmpty())
            out << p;
    }
    return out;
}
} // namespace

QStringList fileSystemRoots()
{
    QStringList roots;
    for (const QFileInfo& d : QDir::drives())
        roots << QDir::toNativeSeparators(d.absoluteFilePath());
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (v.isValid() && v.isReady() && QFileInfo(v.rootPath()).isDir())
            roots << native(v.rootPath());
    }
    roots.removeDuplicates();
    roots.sort();
    return roots;
}

Z_selectfile::Z_selectfile() : ToolWindow(QStringLiteral("Z_selectfile"), QSize(5340, 6240), Kind::Dialog) {}

void Z_selectfile::build(QWidget* form)
{
    auto* ui = makeControls<Ui>();
    ui->filename = place<QPlainTextEdit>(form, QStringLiteral("filename"), 45, 45, 2685, 780);
    ui->filename->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ui->filename->setLineWrapMode(QPlainTextEdit::NoWrap);
    ui->Label1 = place<QLabel>(form, QStringLiteral("Label1"), 45, 900, 1095, 255);
    ui->Label1->setText(QStringLiteral("Files: "));
    ui->filecount = place<QLineEdit>(form, QStringLiteral("filecount"), 495, 855, 945, 285);
    ui->filemask = place<QLineEdit>(form, QStringLiteral("filemask"), 1500, 855, 1215, 285);
    ui->filelist = place<QListWidget>(form, QStringLiteral("filelist"), 45, 1170, 2715, 4770);
    ui->filelist->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ui->Label2 = place<QLabel>(form, QStringLiteral("Label2"), 2820, 45, 1335, 255);
    ui->Label2->setText(QStringLiteral("Directories:"));
    ui->dirlist = place<QListWidget>(form, QStringLiteral("dirlist"), 2820, 240, 2430, 4365);
    ui->Label3 = place<QLabel>(form, QStringLiteral("Label3"), 2805, 4635, 630, 255);
    ui->Label3->setText(QStringLiteral("Drives"));
    ui->drivelist = place<QComboBox>(form, QStringLiteral("drivelist"), 2805, 4860, 2445, 315);
    ui->drivelist->addItems(fileSystemRoots());
    ui->OKButton = place<QPushButton>(form, QStringLiteral("OKButton"), 2820, 5220, 2430, 330);
    ui->OKButton->setText(QStringLiteral("OK"));
    ui->cancelbutton = place<QPushButton>(form, QStringLiteral("cancelbutton"), 2820, 5640, 2430, 330);
    ui->cancelbutton->setText(QStringLiteral("Cancel"));
    for (QFont f = uiFont(8.25); QWidget* w : form->findChildren<QWidget*>())
        w->setFont(f);

    ui->dirPath = chooserFolder();
    ui->filePath = ui->dirPath;
    fillFolders();
    fillFiles();
    showDrive();

    on(ui->drivelist, &QComboBox::activated, [this] { drivelist_Change(); });
    on(ui->dirlist, &QListWidget::itemDoubleClicked, [this](QListWidgetItem* item) { dirlist_DblClick(item); });
    on(ui->filelist, &QListWidget::itemDoubleClicked, [this] { filelist_DblClick(); });
    on(ui->filemask, &QLineEdit::textChanged, [this](const QString& t) { setPattern(t); });
    on(ui->OKButton, &QPushButton::clicked, [this] { OKButton_Click(); });
    on(ui->cancelbutton, &QPushButton::clicked, [this] { cancelbutton_Click(); });
    on(static_cast<QDialog*>(form), &QDialog::rejected, [this] {
        if (auto* u = controls<Ui>())
            u->closed = true;
    });
}

bool Z_selectfile::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && watched == formIfLoaded())
        guarded([this] { onActivate(); });
    return ToolWindow::eventFilter(watched, event);
}

void Z_selectfile::onActivate()
{
    if (auto* ui = controls<Ui>())
        ui->filemask->setText(ui->pattern);
}

void Z_selectfile::setPattern(const QString& pattern)
{
    load();
    auto* ui = controls<Ui>();
    if (!ui || ui->pattern == pattern)
        return;
    ui->pattern = pattern;
    fillFiles();
}

QString Z_selectfile::pattern()
{
    load();
    return controls<Ui>()->pattern;
}

void Z_selectfile::setFilePath(const QString& folder)
{
    load();
    auto* ui = controls<Ui>();
    ui->filePath = native(folder);
    fillFiles();
}

void Z_selectfile::setDirPath(const QString& folder)
{
    load();
    auto* ui = controls<Ui>();
    const QString path = native(folder);
    if (path == ui->dirPath)
        return;
    ui->dirPath = path;
    fillFolders();
    showDrive();
    // The folder changed: the file list follows and the name box empties.
    setFilePath(path);
    ui->filename->clear();
}

QString Z_selectfile::dirPath()
{
    load();
    return controls<Ui>()->dirPath;
}

void Z_selectfile::setNameText(const QString& text)
{
    load();
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    controls<Ui>()->filename->setPlainText(shown);
}

QString Z_selectfile::nameText()
{
    load();
    QString text = controls<Ui>()->filename->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return text;
}

bool Z_selectfile::closedByBox()
{
    auto* ui = controls<Ui>();
    return ui && ui->closed;
}

void Z_selectfile::fillFiles()
{
    auto* ui = controls<Ui>();
    ui->filelist->clear();
    const QDir dir(ui->filePath);
    // A link is listed as what it points to: a link to a file is a file,
    // one to a device or to nothing is not (Qt's filter lets both through).
    const QFileInfoList infos = dir.entryInfoList(nameFilters(ui->pattern), QDir::Files | QDir::NoDotAndDotDot,
                                                  QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& fi : infos)
        if (fi.isFile())
            ui->filelist->addItem(fi.fileName());
}

// The folder's ancestors from its root down, then its subfolders, each
// indented by its depth; every entry carries its whole path.
void Z_selectfile::fillFolders()
{
    auto* ui = controls<Ui>();
    ui->dirlist->clear();
    QStringList chain;
    QDir d(ui->dirPath);
    do
        chain.prepend(native(d.absolutePath()));
    while (d.cdUp());
    int depth = 0;
    QListWidgetItem* current = nullptr;
    for (const QString& path : chain) {
        const QString name = isRoot(path) ? path : QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(QString(depth * 2, u' ') + name, ui->dirlist);
        item->setData(Qt::UserRole, path);
        current = item;
        ++depth;
    }
    // Only what leads to a folder can be entered: Qt's folder filter also
    // lets through links to devices (the ports of /dev/serial/by-id).
    const QFileInfoList subs =
        QDir(ui->dirPath).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& fi : subs) {
        if (!fi.isDir())
            continue;
        auto* item = new QListWidgetItem(QString(depth * 2, u' ') + fi.fileName(), ui->dirlist);
        item->setData(Qt::UserRole, joinpath(ui->dirPath, fi.fileName()));
    }
    if (current)
        ui->dirlist->setCurrentItem(current);
}

void Z_selectfile::showDrive()
{
    auto* ui = controls<Ui>();
    QStringList roots;
    for (int i = 0; i < ui->drivelist->count(); ++i)
        roots << ui->drivelist->itemText(i);
    const int i = int(roots.indexOf(rootOf(ui->dirPath, roots)));
    const QSignalBlocker block(ui->drivelist);
    ui->drivelist->setCurrentIndex(i);
}

void Z_selectfile::drivelist_Change()
{
    auto* ui = controls<Ui>();
    const QString root = ui->drivelist->currentText();
    // A root that cannot be read shows an empty tree; nothing is reported.
    if (!root.isEmpty())
        setDirPath(root);
}

void Z_selectfile::dirlist_DblClick(QListWidgetItem* item)
{
    if (item)
        setDirPath(item->data(Qt::UserRole).toString());
}

void Z_selectfile::filelist_DblClick()
{
    auto* ui = controls<Ui>();
    QStringList names;
    for (int i = 0; i < ui->filelist->count(); ++i)
        if (ui->filelist->item(i)->isSelected())
            names << ui->filelist->item(i)->text();
    setNameText(names.join(QStringLiteral("\r\n")));
    ui->filecount->setText(QString::number(names.size()));
}

// OK with an empty name box takes the highlighted files, as a double-click
// would: a file picked with one click is never silently dropped.
void Z_selectfile::OKButton_Click()
{
    auto* ui = controls<Ui>();
    if (ui->filename->toPlainText().trimmed().isEmpty() && !ui->filelist->selectedItems().isEmpty())
        filelist_DblClick();
    hide();
}

void Z_selectfile::cancelbutton_Click()
{
    controls<Ui>()->filename->clear();
    hide();
}

// Opens the dialog on a folder with a pattern, a name and a caption.
static void prepare(Z_selectfile& dlg, const QString& folder, const QString& pattern, const QString& name,
                    const QString& title)
{
    dlg.unload();
    dlg.load();
    dlg.setPattern(pattern);
    dlg.setFilePath(folder);
    dlg.setDirPath(folder);
    dlg.setNameText(name);
    dlg.setCaption(title);
}

QString selectfile(const QString& filename, const QString& mask, const QString& startdir, const QString& title)
{
    QString start = startdir;
    if (start.isEmpty())
        start = pathpart(filename, 3);
    if (start.isEmpty())
        start = chooserFolder();
    if (!usableFolder(start))
        start = apppath();
    const QString pattern = mask.isEmpty() ? QStringLiteral("*.*") : mask;

    Z_selectfile& dlg = FormSlots::get<Z_selectfile>();
    prepare(dlg, start, pattern, filename, title);
    dlg.show();
    if (!dlg.isLoaded() || dlg.closedByBox()) {
        // Closed with its close box: nothing chosen, the folder is lost.
        dlg.unload();
        return QString();
    }
    const QString text = dlg.nameText();
    const QString folder = dlg.dirPath();
    QString result;
    if (text.isEmpty()) {
        result.clear();
    } else if (!text.contains(u'\r') && QDir::isAbsolutePath(text)) {
        // A whole path (the filename argument left as it was, or typed)
        // names the file itself; joined to the folder it would name none.
        result = text;
    } else {
        // In a root the folder already ends in its separator.
        result = isRoot(folder) ? folder + text : folder + kSep + text;
        // Several names: "folder/first ,second ,third", in a root as anywhere.
        result.replace(u'\r', u' ');
        result.replace(u'\n', u',');
    }
    chooserFolder() = folder;
    dlg.unload();
    return result;
}

QString pickfolder(const QString& startdir, const QString& title)
{
    const QString start = usableFolder(startdir) ? native(startdir) : apppath();
    Z_selectfile& dlg = FormSlots::get<Z_selectfile>();
    prepare(dlg, start, QStringLiteral("*.*"), QString(), title);
    dlg.show();
    const QString result = dlg.isLoaded() && !dlg.closedByBox() ? dlg.dirPath() : start;
    chooserFolder() = result;
    dlg.unload();
    return result;
}
