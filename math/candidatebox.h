#pragma once
// A small read-only box that shows one character on a background colour.
// The Sudoku board needs 729 of them; a painted widget opens far faster
// than as many text boxes and still carries its name and colour.

#include <QColor>
#include <QString>
#include <QWidget>

class CandidateBox : public QWidget {
    Q_OBJECT
public:
    CandidateBox(QWidget* parent, const QString& name, const QString& text);

    QString text() const { return m_text; }
    QColor backColor() const { return m_back; }
    void setBackColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QColor m_back = Qt::white;
};
