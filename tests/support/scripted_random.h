#pragma once

#include <deque>
#include <initializer_list>

#include "core/random_source.h"

namespace quorveno::testing {

// Plays back a list of draws; an exhausted script draws 0. Counts reseedings
// so tests can check that every problem reseeds.
class ScriptedRandom final : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<float> draws) : draws_(draws) {}

  void Append(float draw) { draws_.push_back(draw); }
  // Queues the draw that WholeFromDraw(draw, k) turns into `whole`.
  void AppendWhole(int whole, int k);

  void ReseedFromClock() override { ++reseedings_; }
  float Draw() override;

  int reseedings() const { return reseedings_; }
  int drawsTaken() const { return drawsTaken_; }

 private:
  std::deque<float> draws_;
  int reseedings_ = 0;
  int drawsTaken_ = 0;
};

}  // namespace quorveno::testing
