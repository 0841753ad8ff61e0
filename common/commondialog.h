#pragma once
// The standard file open and save boxes, with the properties and methods
// the windows set and read: DialogTitle, CancelError, InitDir, FileName,
// FileTitle, Filter, DefaultExt, Flags, ShowOpen, ShowSave.
//
// The box itself is behind FileDialogBackend: Qt's file dialog in the
// program, a scripted answer in tests (setFileDialogBackend).

#include <QString>
#include <QStringList>
#include <cstdint>

// Flag bits of the boxes.
namespace cdl {
constexpr int32_t OverwritePrompt = 0x2;
constexpr int32_t HideReadOnly = 0x4;
constexpr int32_t AllowMultiselect = 0x200;
constexpr int32_t ExtensionDifferent = 0x400;
constexpr int32_t PathMustExist = 0x800;
constexpr int32_t FileMustExist = 0x1000;
constexpr int32_t NoReadOnlyReturn = 0x8000;
constexpr int32_t Explorer = 0x80000;
constexpr int32_t LongNames = 0x200000;
// The error a cancelled box raises when CancelError is set.
constexpr int Cancel = 32755;
} // namespace cdl

// What the box is asked to show.
struct FileDialogRequest {
    bool save = false;
    QString title;
    QString initDir;
    QString fileName;     // proposed name (or path)
    QStringList filters;  // Qt form: "Text (*.txt)"
    QString defaultExt;   // without the dot
    int32_t flags = 0;
};

// What the user chose: whole paths, empty when cancelled.
struct FileDialogAnswer {
    QStringList files;
};

class FileDialogBackend {
public:
    virtual ~FileDialogBackend() = default;
    virtual FileDialogAnswer run(const FileDialogRequest& request) = 0;
};

// Installs the backend every box uses; nullptr brings back Qt's dialog.
// The caller keeps ownership.
void setFileDialogBackend(FileDialogBackend* backend);

// "Text (*.txt)|*.txt|CSV files (*.csv;*.dat)|*.csv;*.dat" in Qt's form.
QStringList qtFilters(const QString& filter);

class CommonDialog {
public:
    QString DialogTitle;
    bool CancelError = false;
    QString InitDir;
    QString FileName;
    QString FileTitle;
    QString Filter;
    QString DefaultExt;
    int32_t Flags = 0;

    // Show the box. A choice sets FileName (several files of a multiple
    // choice: the folder and each name, separated by NUL characters),
    // FileTitle, and the ExtensionDifferent bit of Flags. Cancel changes
    // nothing and raises VError(cdl::Cancel) when CancelError is set.
    void ShowOpen();
    void ShowSave();

private:
    void show(bool save);
};
