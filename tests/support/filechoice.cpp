#include "filechoice.h"

#include <QPlainTextEdit>
#include <QWidget>

FileChoiceAnswer::FileChoiceAnswer(const QString& path, int timeoutMs) : FileChoiceAnswer(false, path, timeoutMs) {}

FileChoiceAnswer FileChoiceAnswer::cancel(int timeoutMs)
{
    return FileChoiceAnswer(true, QString(), timeoutMs);
}

FileChoiceAnswer::FileChoiceAnswer(bool cancelled, const QString& path, int timeoutMs)
    : m_modal(cancelled ? QStringLiteral("cancelbutton") : QStringLiteral("OKButton"), timeoutMs)
{
    if (cancelled)
        return;
    m_modal.setBeforePress([path](QWidget* form) {
        // A whole path in the name box names the file itself.
        if (auto* name = form->findChild<QPlainTextEdit*>(QStringLiteral("filename")))
            name->setPlainText(path);
    });
}
