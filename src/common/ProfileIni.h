#pragma once

#include <QString>

namespace vantorel {

// INI profile strings in the manner of the Windows profile functions: sections
// and keys match without regard to case, values are read with surrounding blanks
// and one pair of enclosing quotes removed. Values are written inside double
// quotes, so that any text round-trips exactly (blanks, quotes, ",", ";", "=").
// Files are UTF-8; a file that is not (another program may write it in a legacy
// code page) is read as Latin-1. Every line that is not changed is written back
// byte for byte, and a file that exists but cannot be read is never written.

// The value, or `fallback` when the file, section or key is missing.
QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& fallback);

// Creates the file and the section when missing. Throws Error when the file
// cannot be read or written.
void writeProfileString(const QString& file, const QString& section, const QString& key,
                        const QString& value);

// Removes the key. Throws Error when the file cannot be read or written.
void removeProfileKey(const QString& file, const QString& section, const QString& key);

} // namespace vantorel
