#pragma once

#include <QString>

namespace vantorel {

// The user manual's file, kept in the program's folder.
inline const QString kManualFileName = QStringLiteral("모르윅 프로그램 매뉴얼.pdf");

// The manual's address: the folder joined with the file name (a separator only
// where the folder lacks one), every "\" made "/", and "file:///" in front.
// Spaces and Hangul stay as they are. A POSIX folder's own leading "/" is not
// doubled: /opt/app gives file:///opt/app/...
QString manualAddress(const QString& programFolder);

} // namespace vantorel
