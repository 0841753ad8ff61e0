#include "pichexcheck.h"

#include "common/owntext.h"

#include "common/fields.h"
#include "common/numformat.h"
#include "common/numtext.h"

#include <cmath>

namespace {
const QString kCrLf = QStringLiteral("\r\n");
// The longest legal record: ":", count, address, type, 255 data bytes and
// the checksum. A longer line is quoted only this far in an error entry.
constexpr int kLongestRecord = 11 + 2 * 255;

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int hexByte(const QString& line, int from)
{
    return hextolong(line.mid(from, 2)) & 0xFF;
}
} // namespace

PicImage::PicImage()
    : wordimage(65536, erased), config(33, erased), userid(33, erased), eeprom(8192, erased)
{
}

void PicImage::setupdevice(const QString& device)
{
    if (device == u"12F510")
        map = {0, 0x3FF, 0x3FE, 0x3F, 0xFFF, 0xFFF, 0x400, 0x403, 0x3FF, 0x404, 0x80000, 0x80000};
}

void PicImage::erase()
{
    std::fill(wordimage.begin(), wordimage.end(), erased);
    std::fill(config.begin(), config.end(), erased);
    std::fill(userid.begin(), userid.end(), erased);
    std::fill(eeprom.begin(), eeprom.end(), erased);
    calibration = erased;
    backupCalibration = erased;
    counter.fill(0);
    error = false;
    comment.clear();
    errors.clear();
    orphans.clear();
}

void PicImage::recordError(const QString& head, const QString& line)
{
    error = true;
    QString quoted = leftChars(line, kLongestRecord);
    if (quoted.size() < line.size())
        quoted += QStringLiteral("...");
    errors += head + kCrLf + quoted + kCrLf + kCrLf;
}

void PicImage::processLine(const QString& line)
{
    if (!line.startsWith(u':')) {
        comment += line + kCrLf;
        return;
    }
    // Too short to hold count, address, type and checksum.
    if (line.size() < 11) {
        recordError(QStringLiteral("RECORD LENGTH ERROR: (") + hexpad(line.size(), 2) + QStringLiteral(") characters"),
                    line);
        return;
    }
    for (qsizetype i = 1; i < line.size(); ++i) {
        if (!isHexDigit(line[i])) {
            recordError(QStringLiteral("HEX DIGIT ERROR: character ") + QString::number(i + 1) +
                            QStringLiteral(" is not a hexadecimal digit"),
                        line);
            return;
        }
    }

    const int count = hexByte(line, 1);
    const int address = hextolong(line.mid(3, 4)) & 0xFFFF;
    const int type = hexByte(line, 7);
    const qsizetype dataChars = line.size() - 11;
    const int checksum = hexByte(line, int(line.size()) - 2);

    // Count check: half the data field (an odd field gives a half).
    const double found = double(dataChars) / 2.0;
    if (found != count)
        recordError(QStringLiteral("DATA COUNT ERROR: (") + hexpad(found, 2) + QStringLiteral(") expected"), line);

    std::vector<int> bytes;
    bytes.reserve(size_t(dataChars / 2 + 1));
    int sum = (address & 0xFF) + count + (address >> 8) + type;
    for (qsizetype i = 0; i < dataChars; i += 2) {
        const int b = hextolong(line.mid(9 + i, std::min<qsizetype>(2, dataChars - i))) & 0xFF;
        bytes.push_back(b);
        sum = (sum + b) & 0xFF;
    }
    sum &= 0xFF;
    const int expected = ((~sum) + 1) & 0xFF;
    if (expected != checksum)
        recordError(QStringLiteral("CHECKSUM ERROR: (") + hexpad(expected, 2) + QStringLiteral(") expected"), line);

    if (type != 0)
        return;
    // Word range: half the byte count, a half going to the even neighbour.
    // A byte the record does not hold (the high byte after an odd count)
    // counts as 0.
    auto byteAt = [&bytes](size_t k) { return k < bytes.size() ? bytes[k] : 0; };
    const int32_t first = address / 2;
    const int32_t words = int32_t(std::nearbyint(count / 2.0));
    for (int32_t k = 0; k < words; ++k)
        place(first + k, byteAt(size_t(2 * k)) + 256 * byteAt(size_t(2 * k + 1)));
}

void PicImage::place(int32_t w, int32_t word)
{
    bool matched = false;
    auto in = [&](int from, int to) { return w >= map[size_t(from)] && w <= map[size_t(to)]; };
    if (in(0, 1) && w >= 0 && w < int32_t(wordimage.size())) {
        wordimage[size_t(w)] = word;
        ++counter[Program];
        matched = true;
    }
    if (in(4, 5) && w - map[4] < int32_t(config.size())) {
        config[size_t(w - map[4])] = word;
        ++counter[Config];
        matched = true;
    }
    if (in(6, 7) && w - map[6] < int32_t(userid.size())) {
        userid[size_t(w - map[6])] = word;
        ++counter[UserId];
        matched = true;
    }
    if (in(10, 11) && w - map[10] < int32_t(eeprom.size())) {
        eeprom[size_t(w - map[10])] = word;
        ++counter[Eeprom];
        matched = true;
    }
    if (w == map[8]) {
        calibration = word;
        matched = true;
    }
    if (w == map[9]) {
        backupCalibration = word;
        matched = true;
    }
    if (!matched)
        orphans += hexpad(w, 4) + u':' + hexpad(word, 4) + kCrLf;
}

QString hexSummary(const PicImage& image)
{
    static const char* const kWhat[] = {") Progrm words loaded", ") EEProm words loaded", ") Config words loaded",
                                        ") UserID words loaded"};
    QString s = QStringLiteral("No errors detected in loaded file") + kCrLf;
    for (int i = 0; i < 4; ++i) {
        const int n = image.counter[size_t(i)];
        s += QStringLiteral("0x") + hexpad(n, 4) + QStringLiteral(" (") + fmt(n, QStringLiteral("0000000")) +
             QLatin1String(kWhat[i]) + kCrLf;
    }
    return s;
}

DeviceChecksums computechecksum(const PicImage& image, const QString& device)
{
    DeviceChecksums r;
    if (device != u"12F510")
        return r;
    const int32_t cfg = image.config[0];
    auto id = [&image](int i) { return image.userid[size_t(i)] & 0xF; };

    int sum = 0;
    for (int32_t i = 0; i <= image.map[2]; ++i)
        sum = (sum + (image.wordimage[size_t(i)] & 0xFFF)) & 0xFFFF;
    r.unprotected = (sum + ((cfg & 0x37) | 0x08)) & 0xFFFF;

    sum = 0;
    for (int32_t i = 0; i <= image.map[3]; ++i)
        sum = (sum + (image.wordimage[size_t(i)] & 0xFFF)) & 0xFFFF;
    sum = (sum + (cfg & 0x37)) & 0xFFFF;
    sum = (sum + id(0) * 4096) & 0xFFFF;
    sum = (sum + id(1) * 256) & 0xFFFF;
    sum = (sum + id(2) * 16) & 0xFFFF;
    r.codeProtected = (sum + id(3)) & 0xFFFF;

    r.notProtected = (cfg & 0x08) != 0;
    r.config = cfg & 0x3F;
    r.valid = true;
    return r;
}
