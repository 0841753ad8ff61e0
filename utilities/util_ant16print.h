#pragma once
// Prints a 16-channel logic analyser's CSV capture as a timing chart: one
// row per ticked channel, 2048 samples across a 17 x 11 inch page at
// 1200 dpi, written as a PDF file the user names.

#include "ant16chart.h"

#include "common/toolwindow.h"

class Util_ant16print : public ToolWindow {
    Q_OBJECT
public:
    Util_ant16print();
    // The capture Print reads.
    const QString& filename() const { return m_filename; }

protected:
    void build(QWidget* form) override;
    void onLoad() override;

private:
    struct Ui;
    Ui* ui() const;
    void cmmd_Click(int index);
    void load();
    void printtiming();
    ant16::Options options() const;
    // Writes the chart as a PDF at path; false (after an alert) when it
    // cannot be written.
    bool printPdf(const QString& path, const ant16::Chart& chart);

    QString m_filename;
};
