#pragma once
// The Lumatile display socket's command set, its user font and the text
// rules of the window's boxes, without widgets.
//
// Commands are "$B7" + a letter + payload + CR. A user-font pattern is 15
// characters "0"/"1", position k standing for segment k (top bar, upper
// right, lower right, bottom bar, lower left, upper left, the six inner
// strokes clockwise from the upper left diagonal, the two middle halves,
// and the underline).

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>

namespace lumatile {

constexpr int fontSize = 126;  // codes 0 to 125
constexpr int firstCode = 10;  // the editor and the upload cover 10..125
constexpr int lastCode = 125;
constexpr int patternLength = 15;
constexpr int maxDigits = 20;

using Font = std::array<QString, fontSize>;

// The initial user font: blank, with the 19 shapes of codes 58 to 76.
Font initialFont();

// A pattern as the board takes it: the first 15 characters, padded with
// "0", every character other than "0" read as lit ("1").
QString cleanPattern(const QString& text);

// True for the codes that are ever written into the user font: 10..125
// except CR (13) and "!" (33), which the board's framing reserves.
bool writableCode(int code);

// The code an entered number stands for: 13 and 33 move up by one, then
// the value is kept within 10..125.
int normaliseCode(double value);

// One step up (dir > 0) or down from code, skipping 13 and 33; the ends
// 10 and 125 are kept.
int stepCode(int code, int dir);

// A font file: 126 lines, entry 0 first, each ended by CR LF.
QByteArray fontFileBytes(const Font& font);
// The font a file's lines describe: the initial font, then each line
// there is (at most 126) as a cleaned pattern.
Font fontFromLines(const QStringList& lines);

// The commands, CR included.
QString command(QChar letter, const QString& payload);
QString writeCommand(int code, const QString& pattern);
QString messageCommand(const QString& text);

// A sent command as the traffic log shows it.
QString logLine(const QString& sent);

// Fit(text, n): the first n characters of text followed by copies of its
// last character; an empty text stays empty.
QString fit(const QString& text, int n);

// The number of digits a typed text gives: its leading number, 1..20.
int digitCount(const QString& text);

// The per-digit fields and the message, by their accepted characters.
enum class Field { Fonts, Effects, Speeds, Underscore, Sentence };
// The key a field takes for a typed character code: the character itself,
// its upper case (letters of the font and message fields), or 0 (dropped).
// Backspace and DEL pass; Enter (13) is returned for the caller to handle.
int fieldKey(Field field, int key);
// A pasted text reduced to the characters the field takes.
QString fieldFilter(Field field, const QString& text);

// The character box: the character sent for a typed key, or a null QChar
// when the key is dropped. udc: every key of 0..126 except CR is taken as
// it is; otherwise letters (upper-cased), digits, "!" and blank.
QChar charoutKey(int key, bool udc);

// Time and date messages: 21:05:07 gives "210507"; 7 March 2024 "030724".
QString timeText(const QTime& t);
QString timeMessage(const QString& shown);
QString dateText(const QDate& d);
QString dateMessage(const QString& shown);
// The count as shown on n digits: the last n characters of zeros & count.
QString countMessage(const QString& count, int n);

// The animation's range after normalising its boxes: Start taken as a code
// (13 and 33 move up), Stop kept within 10..125, exchanged when Stop lies
// below Start; Delay within 1..2000.
struct Animation {
    int start = 48;
    int stop = 57;
    int delay = 100;
};
Animation normaliseAnimation(double start, double stop, double delay);
// The next animated code after code within the range.
int nextAnimated(int code, const Animation& a);

} // namespace lumatile
