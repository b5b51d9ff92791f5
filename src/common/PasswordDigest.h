#pragma once

#include <QString>

namespace vantorel {

// SHA-256 over the UTF-8 bytes of the password as typed, as 64 lower-case hex
// characters: the only form in which a password is stored or compared.
QString passwordDigest(const QString& password);

} // namespace vantorel
