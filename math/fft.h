#pragma once
// Radix-2 decimation-in-time transforms of real samples, as the FFT test
// bench uses them: a bit-reversed copy of the input, then log2 N stages of
// butterflies whose twiddle factors advance by a sine recurrence. Only the
// real part of each bin is returned, without any division by N.
//
// N must be 2^1 .. 2^16; another N of 1 or more raises the overflow error
// (verr::Overflow) before any output is written, and N <= 0 returns at once.
// Arrays shorter than N raise the subscript error, also before any write.

#include <QtGlobal>
#include <vector>

// Double precision. A result that is not a finite number raises the
// overflow error.
void FFTD(const int& n, const std::vector<double>& input, std::vector<double>& output);

// 32-bit integer samples: the arithmetic is in doubles, and each of the
// four stores of a butterfly rounds to the nearest integer (a half to the
// even one). A value outside the signed 32-bit range raises the overflow
// error before it is stored.
void FFTI(const int& n, const std::vector<qint32>& input, std::vector<qint32>& output);

// The frequency of bin k as a fraction of the sample rate: k / N up to the
// middle bin (N / 2 gives +0.5), -(N - k) / N above it.
double FrequencyOfIndex(const int& n, int k);
