#include "register/mistake_kind.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace quorveno {
namespace {

constexpr std::array<std::pair<MistakeKind, std::string_view>, 4> kTexts = {{
    {MistakeKind::None, ""},
    {MistakeKind::NotReduced, "non semplificata"},
    {MistakeKind::DenominatorsAdded, "denominatori sommati"},
    {MistakeKind::Other, "altro"},
}};

// Whole numbers this small multiply with the problem's numbers without
// overflowing 64 bits.
std::optional<std::int64_t> SmallWhole(const std::optional<double>& read) {
  if (!read || std::fabs(*read) >= 2147483648.0 || std::trunc(*read) != *read) return std::nullopt;
  return static_cast<std::int64_t>(*read);
}

// n/d == p/q, with d and q not 0.
bool SameValue(std::int64_t n, std::int64_t d, std::int64_t p, std::int64_t q) { return n * q == p * d; }

}  // namespace

std::string_view MistakeText(MistakeKind kind) {
  for (const auto& [each, text] : kTexts) {
    if (each == kind) return text;
  }
  return {};
}

std::optional<MistakeKind> MistakeFromText(std::string_view text) {
  for (const auto& [kind, each] : kTexts) {
    if (each == text) return kind;
  }
  return std::nullopt;
}

MistakeKind ClassifyMistake(const JudgedAnswer& answer) {
  if (answer.judgement.verdict == Verdict::Right) return MistakeKind::None;
  const auto n = SmallWhole(answer.judgement.numeratorRead);
  const auto d = SmallWhole(answer.judgement.denominatorRead);
  const PosedProblem& problem = answer.problem;
  if (!n || !d || *d == 0 || problem.d == 0 || problem.expectedDenominator == 0) return MistakeKind::Other;
  if (SameValue(*n, *d, problem.expectedNumerator, problem.expectedDenominator)) return MistakeKind::NotReduced;
  if (SameValue(*n, *d, std::int64_t{problem.a} + problem.c, std::int64_t{problem.d} * 2)) {
    return MistakeKind::DenominatorsAdded;
  }
  return MistakeKind::Other;
}

}  // namespace quorveno
