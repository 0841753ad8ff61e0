#pragma once
// Shared control-character strings and the three key filters of text boxes.

#include <QString>

struct ControlChars {
    QString TAB, LF, FF, CR, ESC, QUOTE, BS, DEL, CRLF, ACK, NAK;
};

// Filled by initchars(); calling it again changes nothing.
extern ControlChars cc;
void initchars();

// Key filters: return the key when it belongs to the entry kind, else 0.
int keydecimal(const int& key); // digits, ".", 13, 8, 127
int keyinteger(const int& key); // digits, 13, 8, 127
int keyhex(const int& key);     // hex digits of either case, 13, 8, 127
