#pragma once
#include <QString>
#include <QTemporaryDir>

// A temporary program folder (a copy of data/) and work folder, set as
// VOLTARIS_APPDIR and VOLTARIS_TEMP while the object lives; the previous
// values come back when it goes.
class TempFolders {
public:
    explicit TempFolders(bool copyData = true);
    ~TempFolders();
    QString app() const { return m_app.path(); }
    QString work() const { return m_work.path(); }
    // A path in the program folder / the work folder.
    QString appFile(const QString& name) const;
    QString workFile(const QString& name) const;

private:
    QTemporaryDir m_app;
    QTemporaryDir m_work;
    QByteArray m_oldApp, m_oldWork;
    bool m_hadApp, m_hadWork;
};

// The source data/ folder.
QString sourceDataDir();
// Writes bytes to a file (creating folders); returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);
