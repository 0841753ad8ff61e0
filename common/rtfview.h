#pragma once
// Help and data pages: RTF files of the program's folder, shown read-only
// through our own small RTF reader.
//
// The reader understands groups, \par and \line, \tab, \b \i \ul (and their
// "0" and \ulnone forms), \plain, \fsN, the colour table with \cfN, \pard
// with \ql \qc \qr \qj and \txN tab stops, \deftabN, \'hh (code page 1252),
// \uN with \ucN, and the usual typographic symbols. Font tables, style
// sheets, info, pictures, headers and footers and every \* destination are
// skipped; unknown control words are ignored. Any byte sequence is safe:
// truncated groups, stray braces, binary bytes and huge numbers included.
//
// A help window holds one RtfView in place of the rich text box of its
// design and loads its page once in its load handler:
//
//     void build(QWidget* form) override {
//         auto* ui = makeControls<Ui>();
//         ui->helpbox = place<RtfView>(form, "helpbox", 60, 60, 9000, 6000);
//         // a mouse action in the text hides the window (it stays loaded)
//         onMouseDown(ui->helpbox->viewport(), [this] { hide(); });
//     }
//     void onLoad() override { controls<Ui>()->helpbox->loadPage("effsweeper.rtf"); }
//
// Lines break only at their own ends (no wrapping at the box's width); a
// missing or unreadable page shows notInstalledText().

#include <QByteArray>
#include <QString>
#include <QTextEdit>

class QTextDocument;

// Replaces the document's contents with the page the RTF bytes describe.
void rtfToDocument(const QByteArray& rtf, QTextDocument* doc);

// "Help file not installed!  Please run the latest voltaris installer."
QString notInstalledText();

class RtfView : public QTextEdit {
    Q_OBJECT
public:
    explicit RtfView(QWidget* parent = nullptr);

    // Shows RTF bytes.
    void setRtf(const QByteArray& rtf);
    // Shows the page of that name in the program's folder; returns false
    // (and shows the not-installed text) when it is missing or unreadable.
    bool loadPage(const QString& fileName);
    // Shows an RTF file given by its whole path.
    bool loadFile(const QString& path);
};
