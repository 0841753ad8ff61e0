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
// In the chooser a path that names a folder is opened as the folder (what
// pickfolder returns; selectfile then returns ""); any other path is typed
// whole into the name box with its folder opened (selectfile returns it,
// pickfolder its folder). Cancel presses the chooser's Cancel button
// (selectfile returns "", pickfolder the folder it started in).

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
    int asked() const { return int(requests.size()) + int(chooserTitles.size()); }
    // What the common boxes were asked, in order.
    std::vector<FileDialogRequest> requests;
    // The chooser's captions, in order.
    QStringList chooserTitles;

    FileDialogAnswer run(const FileDialogRequest& request) override;

private:
    FileChoiceAnswer();
    void arm();
    void fillChooser();
    std::optional<QStringList> m_paths; // nullopt: Cancel
    std::unique_ptr<ModalAnswer> m_chooser;
};
