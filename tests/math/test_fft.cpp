#include "support/testmain.h"

#include "common/verror.h"
#include "math/fft.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using IntList = std::vector<qint32>;
using RealList = std::vector<double>;
Q_DECLARE_METATYPE(IntList)
Q_DECLARE_METATYPE(RealList)

namespace {
// The error number a call raises, 0 when it raises none.
template <class F>
int raised(F f)
{
    try {
        f();
    } catch (const VError& e) {
        return e.number();
    }
    return 0;
}

// Real part of the plain sum over m of x(m) e^(2 pi i m k / N).
RealList directDft(const RealList& x)
{
    const std::size_t n = x.size();
    RealList out(n);
    for (std::size_t k = 0; k < n; ++k) {
        double sum = 0;
        for (std::size_t m = 0; m < n; ++m)
            sum += x[m] * std::cos(2 * M_PI * double((m * k) % n) / double(n));
        out[k] = sum;
    }
    return out;
}
} // namespace

class TestFft : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void transforms_data()
    {
        QTest::addColumn<IntList>("input");
        QTest::addColumn<IntList>("expect");
        QTest::addColumn<IntList>("expectInt"); // empty: as expect
        QTest::newRow("two samples") << IntList{5, 3} << IntList{8, 2} << IntList{};
        QTest::newRow("impulse") << IntList{1, 0, 0, 0, 0, 0, 0, 0} << IntList(8, 1) << IntList{};
        QTest::newRow("ramp") << IntList{1, 2, 3, 4} << IntList{10, -2, -2, -2} << IntList{};
        // floor(100 sin(2 pi m / 5)): the integer result drifts from the
        // double one through the rounding at every stage.
        const IntList tone{0, 95, 58, -59, -96, 0, 95, 58, -59, -96, 0, 95, 58, -59, -96, 0};
        IntList exactTone;
        for (const double v : directDft(RealList(tone.begin(), tone.end())))
            exactTone.push_back(qint32(std::lround(v)));
        QTest::newRow("16-sample tone") << tone << exactTone
                                        << IntList{-6, 6, 36, 401, -154, -95, -78, -76, -74, -76, -78, -95, -154, 401, 36, 6};
    }
    void transforms()
    {
        QFETCH(IntList, input);
        QFETCH(IntList, expect);
        QFETCH(IntList, expectInt);
        const int n = int(input.size());
        RealList out(n, 99);
        FFTD(n, RealList(input.begin(), input.end()), out);
        for (int k = 0; k < n; ++k)
            QVERIFY2(std::abs(out[k] - expect[k]) < (expectInt.empty() ? 1e-9 : 1.5),
                     qPrintable(QStringLiteral("bin %1: %2").arg(k).arg(out[k])));
        IntList outI(n, 99);
        FFTI(n, input, outI);
        QCOMPARE(outI, expectInt.empty() ? expect : expectInt);
    }

    void matchesDirectSum()
    {
        QRandomGenerator rng(1234);
        for (const int n : {2, 16, 64, 256}) {
            RealList x(n);
            for (double& v : x)
                v = rng.bounded(2000.0) - 1000.0;
            RealList out(n);
            FFTD(n, x, out);
            const RealList want = directDft(x);
            for (int k = 0; k < n; ++k)
                QVERIFY2(std::abs(out[k] - want[k]) < 1e-6 * n,
                         qPrintable(QStringLiteral("N %1 bin %2: %3 vs %4").arg(n).arg(k).arg(out[k]).arg(want[k])));
        }
    }

    void sampleCounts()
    {
        // Every power of two up to 2^16 is taken; the largest fills all of it.
        RealList big(65536, 0.0);
        big[0] = 1;
        RealList out(65536, 0.0);
        FFTD(65536, big, out);
        QCOMPARE(out.front(), 1.0);
        QCOMPARE(out.back(), 1.0);

        // Refused counts leave the output as it was.
        for (const int n : {131072, 3, 1, 6, 1000}) {
            RealList in(std::size_t(n), 1.0), outD(std::size_t(n), 7.0);
            IntList inI(std::size_t(n), 1), outI(std::size_t(n), 7);
            QCOMPARE(raised([&] { FFTD(n, in, outD); }), verr::Overflow);
            QCOMPARE(raised([&] { FFTI(n, inI, outI); }), verr::Overflow);
            QVERIFY(std::all_of(outD.begin(), outD.end(), [](double v) { return v == 7.0; }));
            QVERIFY(std::all_of(outI.begin(), outI.end(), [](qint32 v) { return v == 7; }));
        }
        // N of 0 or less reads and writes nothing.
        RealList none;
        QCOMPARE(raised([&] { FFTD(0, none, none); }), 0);
        QCOMPARE(raised([&] { FFTD(-8, none, none); }), 0);
        // Arrays too short for N.
        RealList four(4, 7.0);
        QCOMPARE(raised([&] { FFTD(8, four, four); }), verr::SubscriptRange);
        QCOMPARE(four, RealList(4, 7.0));
    }

    void overflow()
    {
        // Each of 8 samples near the 32-bit limit: bin 0 sums past it.
        const IntList near(8, 1 << 29);
        IntList out(8);
        QCOMPARE(raised([&] { FFTI(8, near, out); }), verr::Overflow);
        // The same magnitude alternating cancels in bin 0 and fits.
        IntList alternating(8);
        for (int i = 0; i < 8; ++i)
            alternating[i] = (i % 2 ? -1 : 1) * (1 << 27);
        QCOMPARE(raised([&] { FFTI(8, alternating, out); }), 0);
        QCOMPARE(out[4], 8 << 27);
        QCOMPARE(out[0], 0);
        // Double sums past the largest double.
        RealList huge(4, 1e308), outD(4);
        QCOMPARE(raised([&] { FFTD(4, huge, outD); }), verr::Overflow);
    }

    void frequencyOfIndex_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("k");
        QTest::addColumn<double>("expect");
        QTest::newRow("dc") << 8 << 0 << 0.0;
        QTest::newRow("middle is positive") << 8 << 4 << 0.5;
        QTest::newRow("above middle") << 8 << 5 << -0.375;
        QTest::newRow("last") << 8 << 7 << -0.125;
        QTest::newRow("last of 1024") << 1024 << 1023 << -1.0 / 1024;
    }
    void frequencyOfIndex()
    {
        QFETCH(int, n);
        QFETCH(int, k);
        QFETCH(double, expect);
        QCOMPARE(FrequencyOfIndex(n, k), expect);
    }
};

VOLTARIS_TEST(TestFft);
#include "test_fft.moc"
