#include "filechoice.h"

#include "common/z_selectfile.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <climits>

FileChoiceAnswer::FileChoiceAnswer()
{
    setFileDialogBackend(this);
    arm();
}

FileChoiceAnswer::FileChoiceAnswer(const QString& path) : FileChoiceAnswer(QStringList{path}) {}

FileChoiceAnswer::FileChoiceAnswer(const QStringList& paths) : FileChoiceAnswer()
{
    m_paths = paths;
    arm();
}

FileChoiceAnswer FileChoiceAnswer::cancel()
{
    return FileChoiceAnswer();
}

FileChoiceAnswer::~FileChoiceAnswer()
{
    setFileDialogBackend(nullptr);
}

void FileChoiceAnswer::answer(const QString& path)
{
    answer(QStringList{path});
}

void FileChoiceAnswer::answer(const QStringList& paths)
{
    m_paths = paths;
    arm();
}

void FileChoiceAnswer::answerCancel()
{
    m_paths.reset();
    arm();
}

FileDialogAnswer FileChoiceAnswer::run(const FileDialogRequest& request)
{
    requests.push_back(request);
    m_lastTitle = request.title;
    FileDialogAnswer a;
    if (m_paths)
        a.files = *m_paths;
    return a;
}

// Waits for the next chooser and answers it; answered, it waits again.
void FileChoiceAnswer::arm()
{
    const bool choose = m_paths && !m_paths->isEmpty();
    m_chooser = std::make_unique<ModalAnswer>(choose ? QStringLiteral("OKButton") : QStringLiteral("cancelbutton"),
                                              INT_MAX);
    m_chooser->setWindowName(QStringLiteral("Z_selectfile"));
    m_chooser->setBeforePress([this, choose](QWidget* dlg) {
        auto& chooser = FormSlots::get<Z_selectfile>();
        choosers.push_back({dlg->windowTitle(), chooser.dirPath(), chooser.pattern()});
        m_lastTitle = dlg->windowTitle();
        if (choose)
            fillChooser();
        // The answerer may not be replaced while it runs.
        QTimer::singleShot(0, this, [this] { arm(); });
    });
}

void FileChoiceAnswer::fillChooser()
{
    auto& dlg = FormSlots::get<Z_selectfile>();
    const QString path = m_paths->first();
    const QFileInfo info(path);
    if (info.isDir())
        dlg.setDirPath(path);
    else if (info.absoluteDir().exists())
        dlg.setDirPath(info.absolutePath());
    // The whole path: selectfile takes a typed absolute path as it stands.
    dlg.setNameText(path);
}
