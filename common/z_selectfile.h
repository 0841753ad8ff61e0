#pragma once
// The program's own modal file chooser and its two entry points.
//
// selectfile(filename, mask, startdir, title): the full path of the chosen
// file, or "" when the user cancelled or left the name box empty with no
// file highlighted (OK with an empty name box takes the highlighted files,
// as a double-click on them does). Several
// names taken from the file list come back as the folder, the separator,
// the first name and " ," before each further one (in a root folder too).
// The dialog opens in startdir, else in the folder of filename, else in the
// chooser's current folder; one that does not exist is replaced by the
// program's folder. The mask "" shows every file.
//
// pickfolder(startdir, title): the folder shown when the dialog closed
// (OK and Cancel alike), without a trailing separator except for a root;
// the start folder when the dialog was closed with its close box. A start
// folder that does not exist is replaced by the program's folder.
//
// Both leave the folder the dialog showed last as the chooser's own current
// folder (where a later call with no folder opens); the process's current
// folder is never changed.

#include "toolwindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

QString selectfile(const QString& filename, const QString& mask, const QString& startdir, const QString& title);
QString pickfolder(const QString& startdir, const QString& title);

// The file-system roots the drive selector offers ("/" and the mounted
// volumes' roots on Unix, the drive roots on Windows).
QStringList fileSystemRoots();

class Z_selectfile : public ToolWindow {
    Q_OBJECT
public:
    Z_selectfile();

    // The file list's pattern ("*.txt;*.csv"; "*.*" matches every name).
    void setPattern(const QString& pattern);
    QString pattern();
    // The file list's folder.
    void setFilePath(const QString& folder);
    // The directory list's folder; a change empties the name box.
    void setDirPath(const QString& folder);
    QString dirPath();
    // The name box, lines joined by CR LF.
    void setNameText(const QString& text);
    QString nameText();
    // True when the dialog was closed with its close box (or Escape)
    // rather than with OK or Cancel.
    bool closedByBox();

protected:
    void build(QWidget* form) override;
    void onActivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Ui : Controls {
        QPlainTextEdit* filename = nullptr;
        QLabel* Label1 = nullptr;
        QLineEdit* filecount = nullptr;
        QLineEdit* filemask = nullptr;
        QListWidget* filelist = nullptr;
        QLabel* Label2 = nullptr;
        QListWidget* dirlist = nullptr;
        QLabel* Label3 = nullptr;
        QComboBox* drivelist = nullptr;
        QPushButton* OKButton = nullptr;
        QPushButton* cancelbutton = nullptr;
        QString dirPath;
        QString filePath;
        QString pattern = QStringLiteral("*.*");
        bool closed = false;
    };
    void fillFiles();
    void fillFolders();
    void showDrive();
    void drivelist_Change();
    void dirlist_DblClick(QListWidgetItem* item);
    void filelist_DblClick();
    void OKButton_Click();
    void cancelbutton_Click();
};
