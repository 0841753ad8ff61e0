#pragma once
// 32-bit word arithmetic on signed integers read as unsigned bit patterns,
// and the XTEA block cipher on hexadecimal or byte text.

#include <QString>
#include <cstdint>

// (a + b) and (a - b) modulo 2^32; never an overflow.
int32_t uadd(const int32_t& a, const int32_t& b);
int32_t usub(const int32_t& a, const int32_t& b);
// value rotated left by n bits for 1 <= n <= 31; unchanged for other n.
int32_t rotl(const int32_t& value, const int& n);
// Logical shifts: unchanged for n < 1, 0 for n >= 32.
int32_t shl(const int32_t& value, const int& n);
int32_t shr(const int32_t& value, const int& n);
// The word as 8 upper-case hex digits (two's-complement pattern), cut to
// its rightmost `digits` characters; a `digits` above 8 counts as 8 and is
// set to 8 in the caller's variable.
QString hex8(const int32_t& value, int& digits);
QString hex8(const int32_t& value, const int& digits);

// One XTEA block, 32 cycles. mode 0 enciphers and 1 deciphers 16 hex digits
// (the block as a big-endian 64-bit number, its right 8 digits the cipher's
// first word) with a key of 32 hex digits (its right 8 digits key word 0);
// shorter texts are padded with "0" on the left, longer ones keep their
// right part. The result is 16 upper-case hex digits. Modes 2 and 3 do the
// same on byte text (Latin-1): the data's bytes become hex, the caller's key
// gets 16 characters of code 0 appended and its first 16 bytes are the key;
// the result is 8 byte characters. Any other mode returns "".
QString xtea(const int& mode, const QString& data, QString& key);
QString xtea(const int& mode, const QString& data, const QString& key);
