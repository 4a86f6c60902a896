#include "tests/support/scripted_random.h"

namespace quorveno::testing {

void ScriptedRandom::AppendWhole(int whole, int k) {
  // The middle of the draw's interval, well clear of rounding at its edges.
  Append(static_cast<float>((whole - 0.5) / k));
}

float ScriptedRandom::Draw() {
  ++drawsTaken_;
  if (draws_.empty()) return 0.0f;
  const float draw = draws_.front();
  draws_.pop_front();
  return draw;
}

}  // namespace quorveno::testing
