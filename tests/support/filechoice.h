#pragma once
// Answers the program's file chooser: the next time it is shown, the given
// path goes into its name box and OK is pressed, or Cancel is pressed.

#include "modal.h"

#include <QString>

class FileChoiceAnswer {
public:
    explicit FileChoiceAnswer(const QString& path, int timeoutMs = 10000);
    static FileChoiceAnswer cancel(int timeoutMs = 10000);

    bool answered() const { return m_modal.answered(); }
    // The chooser's caption.
    QString title() const { return m_modal.title(); }

private:
    FileChoiceAnswer(bool cancelled, const QString& path, int timeoutMs);
    ModalAnswer m_modal;
};
