#pragma once
// Qt's SHA-1 of bytes written as the program writes its digests: five
// blank-separated groups of eight upper-case hex digits. Tests hold the
// program's own hashing against it.

#include <QByteArray>
#include <QString>

QString sha1Text(const QByteArray& bytes);
