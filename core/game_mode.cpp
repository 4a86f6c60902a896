#include "core/game_mode.h"

namespace quorveno {
namespace {

constexpr std::string_view kPracticeText = "allenamento";
constexpr std::string_view kCompetitionPrefix = "gara ";

}  // namespace

std::string ModeText(const GameMode& mode) {
  if (!mode.timed()) return std::string(kPracticeText);
  return std::string(kCompetitionPrefix) + std::to_string(mode.minutes);
}

std::optional<GameMode> ModeFromText(std::string_view text) {
  if (text == kPracticeText) return GameMode::Practice();
  if (text.substr(0, kCompetitionPrefix.size()) != kCompetitionPrefix) return std::nullopt;
  const std::string_view digits = text.substr(kCompetitionPrefix.size());
  if (digits.empty() || digits.size() > 3 || digits.front() == '0') return std::nullopt;
  int minutes = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9') return std::nullopt;
    minutes = minutes * 10 + (digit - '0');
  }
  return GameMode::Competition(minutes);
}

}  // namespace quorveno
