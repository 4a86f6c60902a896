#pragma once

#include <QByteArray>
#include <QString>

// File names as the system gives them. On POSIX systems a name is bytes, and
// not every name is valid UTF-8 (a file copied from an old Windows share may
// be "reg\xE9.csv"): each byte that is no part of valid UTF-8 is carried in
// the text as the lone surrogate U+DC80 + byte, and given back as that byte,
// so every name the system gives opens the same file again.
namespace quorveno {

QString PathFromNative(const QByteArray& native);
QByteArray NativeFromPath(const QString& path);

}  // namespace quorveno
