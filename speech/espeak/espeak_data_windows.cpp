#include "speech/espeak/espeak_data.h"

#include <QCoreApplication>

namespace quorveno {

// The data is installed beside the program, with espeak-ng's library.
// espeak-ng opens its files with the C library's 8-bit calls, which take
// the system's code page.
std::string EspeakDataFolder() {
  return (QCoreApplication::applicationDirPath() + QStringLiteral("/espeak-ng-data")).toLocal8Bit().toStdString();
}

QString EspeakOrigin() {
  return QStringLiteral("libespeak-ng.dll e la cartella espeak-ng-data accanto a quorveno.exe");
}

}  // namespace quorveno
