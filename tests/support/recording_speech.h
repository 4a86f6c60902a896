#pragma once

#include <QStringList>

#include "speech/speech.h"

namespace quorveno::testing {

// Writes down every sentence the game says, in order.
struct RecordingSpeech final : Speech {
  void Say(const QString& sentence) override { said << sentence; }
  QStringList said;
};

}  // namespace quorveno::testing
