#include "version.h"

QString revisionOf(int major, int minor, int rev)
{
    auto two = [](int n) { return (QStringLiteral("00") + QString::number(n)).right(2); };
    return QString::number(major) + u'.' + two(minor) + u'.' + two(rev);
}

QString revision()
{
    return revisionOf(VOLTARIS_VERSION_MAJOR, VOLTARIS_VERSION_MINOR, VOLTARIS_VERSION_REVISION);
}
