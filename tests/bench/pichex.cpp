// Time to check a HEX file of about 1 MB: hash, line reading, record checks
// and placement, and the device checksums. Prints one line, and checks that
// every line was read and taken without error and that the hash is the
// file's SHA-1.
//
//   bench_pichex [--smoke]   (64 KB)

#include "bench/benchkit.h"
#include "support/sha1text.h"

#include "common/sha1.h"
#include "common/textlines.h"
#include "math/pichexcheck.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.hex");
    QByteArray text;
    int address = 0;
    int records = 0;
    const qsizetype size = bench::smokeRun(argc, argv) ? 64 * 1024 : 1024 * 1024;
    while (text.size() < size) {
        QByteArray rec = QByteArray(":10") + QByteArray::number(address & 0xFFFF, 16).rightJustified(4, '0') + "00";
        int sum = 0x10 + (address & 0xFF) + ((address >> 8) & 0xFF);
        for (int i = 0; i < 16; ++i) {
            const int b = (address + i) & 0xFF;
            rec += QByteArray::number(b, 16).rightJustified(2, '0');
            sum += b;
        }
        rec += QByteArray::number((0x100 - (sum & 0xFF)) & 0xFF, 16).rightJustified(2, '0');
        text += rec.toUpper() + "\r\n";
        address += 16;
        ++records;
    }
    text += ":00000001FF\r\n";
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return 1;
    f.close();

    QElapsedTimer clock;
    clock.start();
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return 1;
    const QString hash = sha1(QString(), QString::fromLatin1(in.readAll()));
    const qint64 hashed = clock.elapsed();
    const TextLines lines = readTextLines(path, 64 * 1024 * 1024);
    PicImage image;
    image.setupdevice("12F510");
    image.erase();
    for (const QString& line : lines.lines)
        image.processLine(line);
    const DeviceChecksums cs = computechecksum(image, "12F510");
    std::printf("HEX check %lld bytes, %lld lines: %lld ms (hash %lld ms), errors %d, orphan text %lld chars, "
                "cs %04X, %s\n",
                qint64(text.size()), qint64(lines.lines.size()), clock.elapsed(), hashed, image.error ? 1 : 0,
                qint64(image.orphans.size()), cs.unprotected, qPrintable(hash.left(8)));

    const QString reference = sha1Text(text);
    bench::Verdict& v = bench::verdict();
    v.check(hash == reference, "HEX check: hash %s, the file's SHA-1 is %s", qPrintable(hash), qPrintable(reference));
    v.check(lines.lines.size() == records + 1, "HEX check: %lld lines read of %d", qint64(lines.lines.size()),
            records + 1);
    v.check(!image.error, "HEX check: a well-formed file reported an error");
    return v.exitCode();
}
