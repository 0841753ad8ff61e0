#pragma once
// Answers the program's file choices while it lives: the file chooser
// (selectfile, pickfolder, the Z_selectfile dialog) and the common file
// boxes (CommonDialog's ShowOpen/ShowSave), each with a given path or with
// Cancel, as a user would.
//
//     FileChoiceAnswer answer(tf.workFile("log.csv"));   // every choice gets it
//     ... click the window's "Browse" button ...
//     QCOMPARE(answer.asked(), 1);
//     answer.answer(other);  answer.answerCancel();       // change the next answer
//     FileChoiceAnswer none = FileChoiceAnswer::cancel();
//
// In the chooser the path's folder (the path itself when it names a folder)
// is opened and the whole path typed into the name box, as a user does:
// selectfile returns the path, pickfolder the folder. Cancel presses the
// chooser's Cancel button (selectfile returns "", pickfolder the folder it
// started in). An alert the choice leads to is answered by a ModalAnswer
// limited to it: `ModalAnswer alert("Command1_0"); alert.setWindowName("Z_alert");`.

#include "common/commondialog.h"
#include "support/modal.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class FileChoiceAnswer : public QObject, public FileDialogBackend {
    Q_OBJECT
public:
    explicit FileChoiceAnswer(const QString& path);
    // Several files for a box that allows a multiple choice.
    explicit FileChoiceAnswer(const QStringList& paths);
    static FileChoiceAnswer cancel();
    ~FileChoiceAnswer() override;
    FileChoiceAnswer(const FileChoiceAnswer&) = delete;
    FileChoiceAnswer& operator=(const FileChoiceAnswer&) = delete;

    void answer(const QString& path);
    void answer(const QStringList& paths);
    void answerCancel();

    // Choices answered so far, of both kinds.
    int asked() const { return int(requests.size()) + int(choosers.size()); }
    bool answered() const { return asked() > 0; }
    // The caption of the latest choice answered ("" before the first).
    QString title() const { return m_lastTitle; }
    // What the common boxes were asked, in order.
    std::vector<FileDialogRequest> requests;
    // How the chooser opened each time, in order.
    struct Chooser {
        QString title, folder, mask;
    };
    std::vector<Chooser> choosers;

    FileDialogAnswer run(const FileDialogRequest& request) override;

private:
    FileChoiceAnswer();
    void arm();
    void fillChooser();
    std::optional<QStringList> m_paths; // nullopt: Cancel
    QString m_lastTitle;
    std::unique_ptr<ModalAnswer> m_chooser;
};
