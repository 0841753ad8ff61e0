#pragma once
// Answers the program's file chooser the way a user does: types a whole
// path into its name box and presses OK, or presses Cancel.

#include "support/modal.h"

#include "common/z_selectfile.h"

#include <QPlainTextEdit>
#include <QWidget>

#include <memory>

class FilePick {
public:
    // An empty path cancels. thenPress: a button of the next modal window
    // (an alert about the file) to press once the chooser has closed.
    explicit FilePick(const QString& path, const QString& thenPress = QString())
        : m_answer(path.isEmpty() ? QStringLiteral("cancelbutton") : QStringLiteral("OKButton"))
    {
        m_answer.setBeforePress([this, path, thenPress](QWidget* dlg) {
            m_folder = FormSlots::get<Z_selectfile>().dirPath();
            m_mask = FormSlots::get<Z_selectfile>().pattern();
            if (auto* name = dlg->findChild<QPlainTextEdit*>(QStringLiteral("filename")); name && !path.isEmpty())
                name->setPlainText(path);
            if (!thenPress.isEmpty())
                m_then = std::make_unique<ModalAnswer>(thenPress);
        });
    }
    bool answered() const { return m_answer.answered(); }
    QString title() const { return m_answer.title(); }
    // The folder and mask the chooser opened with.
    QString folder() const { return m_folder; }
    QString mask() const { return m_mask; }
    // The window answered after the chooser (null when none was asked for).
    const ModalAnswer* then() const { return m_then.get(); }

private:
    ModalAnswer m_answer;
    QString m_folder, m_mask;
    std::unique_ptr<ModalAnswer> m_then;
};
