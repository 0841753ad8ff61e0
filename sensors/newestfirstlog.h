#pragma once
// A read-only log box that shows its newest line first. Lines are kept in
// arrival order and shown reversed, so adding one costs the same after
// hours of lines as at the start, and none is ever dropped.

#include <QListView>
#include <QStringList>

class NewestFirstLog : public QListView {
    Q_OBJECT
public:
    explicit NewestFirstLog(QWidget* parent = nullptr);

    void addLine(const QString& line);
    // Empties the log, then holds only this line.
    void setLine(const QString& line);
    void clear();
    int count() const;
    // Newest first, as shown.
    QStringList lines() const;

private:
    class Model;
    Model* m_model;
};
