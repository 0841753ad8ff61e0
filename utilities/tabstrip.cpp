#include "tabstrip.h"

#include "common/numtext.h"

#include <cmath>

namespace tabstrip {

int tabsize(const QString& text)
{
    const double v = std::round(numval(text));
    if (!(v > 0))
        return 4;
    return v > kMaxTabSize ? kMaxTabSize : int(v);
}

QString expandtabs(const QString& line, int tabSize, int& tabs)
{
    if (!line.contains(u'\t'))
        return line;
    QString out;
    out.reserve(line.size() + 4 * tabSize);
    for (QChar c : line) {
        if (c != u'\t') {
            out += c;
            continue;
        }
        // Up to the next stop strictly after the current length.
        const qsizetype len = out.size();
        out += QString(tabSize - len % tabSize, u' ');
        ++tabs;
    }
    return out;
}

} // namespace tabstrip
