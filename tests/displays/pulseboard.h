#pragma once
// The 8546 pulse timer board behind the fake USB FIFO: "T" starts a pulse
// train (trainLength time stamps, `period` counts apart, from `origin`),
// "x" stops it (nothing more is sent), "!" sends a block of 500,000 bytes
// of time stamps 1 ms apart. Stamps are six bytes, most significant
// first.

#include "support/fakefifo.h"

#include <QByteArray>
#include <cstdint>

class PulseBoard : public FakeFifo {
public:
    PulseBoard() { devices = {{"FT245R USB FIFO", "PT8546"}}; }

    static QByteArray stamp(uint64_t count)
    {
        QByteArray r(6, '\0');
        for (int i = 5; i >= 0; --i) {
            r[i] = char(count & 0xFF);
            count >>= 8;
        }
        return r;
    }
    static QByteArray block()
    {
        QByteArray b;
        b.reserve(500000);
        for (uint64_t c = 0; b.size() + 6 <= 500000; ++c)
            b += stamp(1000 + c * 10000);
        b += QByteArray(500000 - b.size(), '\0'); // the block's tail, not a whole stamp
        return b;
    }

    uint64_t origin = 10000000;
    uint64_t period = 10000;
    int trainLength = 5;
    bool running = false;

    int write(const QByteArray& bytes, int& n) override
    {
        const int status = FakeFifo::write(bytes, n);
        for (char c : bytes.left(n)) {
            if (c == 'T') {
                running = true;
                for (int i = 0; i < trainLength; ++i)
                    incoming += stamp(origin + uint64_t(i) * period);
            } else if (c == 'x') {
                running = false;
            } else if (c == '!') {
                incoming += block();
            }
        }
        return status;
    }
};
