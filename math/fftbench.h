#pragma once
// The arithmetic of the FFT test bench, apart from its window: the test
// signal, the bin magnitudes and the bin table.

#include <QString>
#include <QtGlobal>
#include <vector>

struct FftSignal {
    std::vector<double> x;  // the signal
    std::vector<qint32> xi; // the signal rounded down
};

// n samples of scale * sin(2 pi i / period), plus scale * sin(2 pi i m / period)
// when multiple > 0. A sample whose rounded-down value leaves the signed
// 32-bit range raises the overflow error.
FftSignal fftSignal(int n, double scale, double period, double multiple);

// floor(x) as a 32-bit integer; the overflow error outside that range.
qint32 floorToLong(double x);

// The magnitude the bench shows of each bin: floor(|X(k)|) of a double
// transform, |Xi(k)| of an integer one.
std::vector<double> binMagnitudes(const std::vector<double>& x);
std::vector<double> binMagnitudes(const std::vector<qint32>& xi);

// The bin table of bins 0 .. last: the header "Sample", "FreqBin",
// "BinSize", "Sine" joined by tabs, then per bin a line break (lineEnd) and
// the bin, the thousandths of the sample rate of its frequency, its
// magnitude and its sample, each in the signed-column number form.
QString fftTable(int n, int last, const std::vector<double>& magnitudes, const std::vector<double>& samples,
                 const QString& lineEnd);
