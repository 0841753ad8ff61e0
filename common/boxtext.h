#pragma once
#include <QString>

// Text with CR LF line ends as a multi-line text box keeps it (LF only);
// files get CR LF back when they are written.
inline QString boxtext(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}
