#include "commondialog.h"
#include "verror.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
class QtFileDialogBackend : public FileDialogBackend {
public:
    FileDialogAnswer run(const FileDialogRequest& r) override
    {
        QFileDialog dlg(nullptr, r.title, r.initDir);
        dlg.setNameFilters(r.filters);
        dlg.setDefaultSuffix(r.defaultExt);
        if (r.save) {
            dlg.setAcceptMode(QFileDialog::AcceptSave);
            dlg.setFileMode(QFileDialog::AnyFile);
            if (!(r.flags & cdl::OverwritePrompt))
                dlg.setOption(QFileDialog::DontConfirmOverwrite);
        } else {
            dlg.setAcceptMode(QFileDialog::AcceptOpen);
            dlg.setFileMode((r.flags & cdl::AllowMultiselect) ? QFileDialog::ExistingFiles
                            : (r.flags & cdl::FileMustExist)  ? QFileDialog::ExistingFile
                                                              : QFileDialog::AnyFile);
        }
        if (!r.fileName.isEmpty())
            dlg.selectFile(r.fileName);
        FileDialogAnswer a;
        if (dlg.exec() == QDialog::Accepted)
            a.files = dlg.selectedFiles();
        return a;
    }
};

FileDialogBackend* g_backend = nullptr;

FileDialogBackend& backend()
{
    static QtFileDialogBackend qt;
    return g_backend ? *g_backend : qt;
}
} // namespace

void setFileDialogBackend(FileDialogBackend* b)
{
    g_backend = b;
}

QStringList qtFilters(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        desc.remove(trailingPatterns);
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        out << desc + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

void CommonDialog::ShowOpen()
{
    show(false);
}

void CommonDialog::ShowSave()
{
    show(true);
}

void CommonDialog::show(bool save)
{
    FileDialogRequest r;
    r.save = save;
    r.title = DialogTitle;
    r.initDir = QDir::fromNativeSeparators(InitDir);
    r.fileName = FileName;
    r.filters = qtFilters(Filter);
    r.defaultExt = DefaultExt;
    r.flags = Flags;
    const FileDialogAnswer a = backend().run(r);
    if (a.files.isEmpty()) {
        if (CancelError)
            throw VError(cdl::Cancel, QStringLiteral("Cancel was selected."));
        return;
    }
    QStringList files;
    for (const QString& f : a.files)
        files << QDir::toNativeSeparators(f);
    if (files.size() > 1) {
        // Explorer style: the folder, then every name, NUL-separated.
        QStringList fields{QDir::toNativeSeparators(QFileInfo(a.files.first()).absolutePath())};
        for (const QString& f : files)
            fields << QFileInfo(f).fileName();
        FileName = fields.join(QChar(0));
    } else {
        FileName = files.first();
    }
    FileTitle = QFileInfo(files.first()).fileName();
    // Set when the chosen name's extension is not the default one.
    const QString ext = QFileInfo(files.last()).suffix();
    if (!DefaultExt.isEmpty() && ext.compare(DefaultExt, Qt::CaseInsensitive) != 0)
        Flags |= cdl::ExtensionDifferent;
    else
        Flags &= ~cdl::ExtensionDifferent;
}
