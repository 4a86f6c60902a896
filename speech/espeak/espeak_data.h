#pragma once

#include <QString>

#include <string>

namespace quorveno {

// Where espeak-ng finds its data (phonemes, intonations, dictionaries and
// voices), in the 8-bit encoding the system opens files with; empty for
// espeak-ng's own default.
std::string EspeakDataFolder();

// Where espeak-ng and its data come from, in Italian: what to look for when
// they cannot be loaded.
QString EspeakOrigin();

}  // namespace quorveno
