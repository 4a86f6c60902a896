#include "storage/native_path.h"

#include <string_view>

#include "core/cp1252.h"

namespace quorveno {
#ifndef Q_OS_WIN
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool IsEscapedByte(char16_t unit) { return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF; }

}  // namespace
#endif

QString PathFromNative(const QByteArray& native) {
#ifdef Q_OS_WIN
  return QString::fromLocal8Bit(native);
#else
  QString path;
  path.reserve(native.size());
  const std::string_view bytes(native.constData(), static_cast<std::size_t>(native.size()));
  qsizetype at = 0;
  while (at < native.size()) {
    const auto length = static_cast<qsizetype>(Utf8SequenceLength(bytes, static_cast<std::size_t>(at)));
    if (length == 0) {
      path += QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(native[at])));
      ++at;
    } else {
      path += QString::fromUtf8(native.constData() + at, length);
      at += length;
    }
  }
  return path;
#endif
}

QByteArray NativeFromPath(const QString& path) {
#ifdef Q_OS_WIN
  return path.toLocal8Bit();
#else
  QByteArray native;
  native.reserve(path.size());
  qsizetype start = 0;
  for (qsizetype i = 0; i <= path.size(); ++i) {
    if (i < path.size() && !IsEscapedByte(path[i].unicode())) continue;
    native += QStringView(path).mid(start, i - start).toUtf8();
    if (i < path.size()) native += static_cast<char>(path[i].unicode() - kEscapeBase);
    start = i + 1;
  }
  return native;
#endif
}

}  // namespace quorveno
