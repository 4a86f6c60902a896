#include "speech/espeak/espeak_data.h"

namespace quorveno {

// Debian's espeak-ng finds the data its packages install.
std::string EspeakDataFolder() { return {}; }

QString EspeakOrigin() { return QStringLiteral("pacchetti libespeak-ng1 ed espeak-ng-data"); }

}  // namespace quorveno
