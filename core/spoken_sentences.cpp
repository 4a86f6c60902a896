#include "core/spoken_sentences.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "core/italian_words.h"

namespace quorveno {
namespace {

bool IsDigits(std::string_view word) {
  if (word.empty() || word.size() > 6) return false;
  for (const char c : word) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

bool IsSingleLetter(std::string_view word) {
  return word.size() == 1 && std::isalpha(static_cast<unsigned char>(word.front()));
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t start = text.find_first_not_of(" \t\r\n\"", at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(text.find_first_of(" \t\r\n\"", start), text.size());
    words.push_back(text.substr(start, end - start));
    at = end;
  }
  return words;
}

// "4/15" in words; the word unchanged when it is not such a fraction.
std::string FractionOrWord(std::string_view word) {
  const std::size_t bar = word.find('/');
  if (bar == std::string_view::npos) return std::string(word);
  const std::string_view numerator = word.substr(0, bar);
  const std::string_view denominator = word.substr(bar + 1);
  if (!IsDigits(numerator) || !IsDigits(denominator)) return std::string(word);
  return FractionWords(std::stol(std::string(numerator)), std::stol(std::string(denominator)));
}

std::string SpokenWord(std::string_view word) {
  if (word == "+") return "più";
  if (word == "=") return "uguale";
  return FractionOrWord(word);
}

}  // namespace

std::string SpokenBoxText(std::string_view text) {
  const std::vector<std::string_view> words = Words(text);
  std::string spoken;
  for (std::size_t i = 0; i < words.size();) {
    std::string word;
    // Three or more single letters in a row spell one word.
    std::size_t letters = 0;
    while (i + letters < words.size() && IsSingleLetter(words[i + letters])) ++letters;
    if (letters >= 3) {
      for (std::size_t k = 0; k < letters; ++k) {
        const auto c = static_cast<unsigned char>(words[i + k].front());
        word += static_cast<char>(k == 0 ? std::toupper(c) : std::tolower(c));
      }
      i += letters;
    } else {
      word = SpokenWord(words[i]);
      ++i;
    }
    if (!spoken.empty()) spoken += ' ';
    spoken += word;
  }
  return spoken;
}

}  // namespace quorveno
