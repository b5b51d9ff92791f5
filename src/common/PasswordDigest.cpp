#include "common/PasswordDigest.h"

#include <QCryptographicHash>

namespace vantorel {

QString passwordDigest(const QString& password) {
    const QByteArray digest = QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex());
}

} // namespace vantorel
