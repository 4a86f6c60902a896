#pragma once

#include <QString>

namespace quorveno {

// Whatever reads sentences aloud. Saying never waits for the voice: it
// starts the sentence and returns, and a sentence replaces the one still
// being spoken.
class Speech {
 public:
  virtual ~Speech() = default;
  virtual void Say(const QString& sentence) = 0;
};

}  // namespace quorveno
