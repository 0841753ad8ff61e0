#include "sha1text.h"

#include <QCryptographicHash>
#include <QStringList>

QString sha1Text(const QByteArray& bytes)
{
    const QByteArray hex = QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().toUpper();
    QStringList groups;
    for (int i = 0; i < 40; i += 8)
        groups << QString::fromLatin1(hex.mid(i, 8));
    return groups.join(u' ');
}
