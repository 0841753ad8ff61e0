#pragma once
// Text in files, without silent loss.
//
// Files only this program reads back (settings lines, paths, its own pin and
// font files) keep any text exactly: encodeOwnText writes Latin-1 where that
// reads back the same, UTF-8 otherwise, and decodeOwnText reads either, so
// files written before UTF-8 was possible still read as they always did.
//
// Files in a fixed single-byte form that other tools read or that are
// appended to (records, logs) cannot hold every character; they refuse such
// text before anything is written:
//
//     if (!singlebytefits(path, {{"customer", u->customer->text()}}))
//         return; // the alert has been shown, the file is untouched

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The bytes of a whole file's text. Latin-1 when every character is at most
// U+00FF and those bytes do not themselves read as UTF-8 holding non-ASCII
// characters; UTF-8 otherwise, with a byte-order mark only when the text's
// own bytes would begin like one. Never mixed.
QByteArray encodeOwnText(const QString& text);

// The text of a whole file's bytes: a leading UTF-8 byte-order mark is
// dropped; valid UTF-8 reads as UTF-8, anything else as Latin-1 (one
// character per byte). Reads back every text encodeOwnText wrote.
// readAsUtf8, when given, tells whether non-ASCII bytes were read as UTF-8
// (a tool that writes the file back keeps that form).
QString decodeOwnText(const QByteArray& bytes, bool* readAsUtf8 = nullptr);

// decodeOwnText's choice for a file read a piece at a time, too large to
// hold whole: the form is decided for the whole file before any of its
// text is used, so no file ever reads partly one way and partly the other.
//
//   OwnTextForm form;                 // the bytes after ownTextBomSize()
//   while (more) form.add(piece);     // in file order, any sizes
//   ... form.utf8() ...               // then decodeOwnTextPiece each line
class OwnTextForm {
public:
    void add(QByteArrayView piece);
    // The bytes seen already rule UTF-8 out: more of them change nothing.
    bool settled() const { return m_invalid; }
    // After the last piece: whether decodeOwnText reads the bytes as UTF-8.
    bool utf8() const;

private:
    QByteArray m_carry; // a character's bytes that may go on in the next piece
    bool m_wide = false;
    bool m_invalid = false;
};

// The length of the byte-order mark a file's first bytes begin with: 3 for
// UTF-8's, else 0. decodeOwnText drops it.
qsizetype ownTextBomSize(QByteArrayView head);

// A piece of a file (a line) whose form OwnTextForm decided: as decodeOwnText
// reads those bytes within the whole file.
QString decodeOwnTextPiece(QByteArrayView bytes, bool utf8);

// The position of the first character a single-byte (Latin-1) file cannot
// hold, -1 when there is none.
qsizetype firstUnfitChar(const QString& text);

// The text one box holds, with the name the user knows it by.
struct BoxText {
    QString box;
    QString text;
};

// Characters, not UTF-16 units: a character outside the Basic Multilingual
// Plane (a surrogate pair) counts once, and so does half a pair on its own.
qsizetype charCount(const QString& text);
// The first n characters of text, never cutting a surrogate pair.
QString leftChars(const QString& text, qsizetype n);

// The position of the first half of a surrogate pair that stands alone,
// -1 when there is none. No file can hold it: written as UTF-8 it would
// turn into "?".
qsizetype firstLoneSurrogate(const QString& text);

// True when no box holds half a character (firstLoneSurrogate), so that
// encodeOwnText keeps every text exactly. Otherwise shows one alert naming
// the file, the first such box and the character, and returns false: the
// caller writes nothing.
bool owntextfits(const QString& file, const QList<BoxText>& boxes);

// True when every box's text fits a single-byte file. Otherwise shows one
// alert naming the file, the first box and the character it cannot hold,
// and returns false: the caller writes nothing.
bool singlebytefits(const QString& file, const QList<BoxText>& boxes);

// As singlebytefits for text that comes from no box (a converted file): the
// alert names the file, the line (counted from 1) and the character.
bool singlebytelines(const QString& file, const QStringList& lines);
