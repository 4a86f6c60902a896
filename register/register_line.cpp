#include "register/register_line.h"

#include <cstdio>

#include "core/number_text.h"
#include "register/mistake_kind.h"

namespace quorveno {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
// A field starting with one of these gets a leading apostrophe.
constexpr std::string_view kFormulaLeads = "=+-@\t\r";

std::string Fraction(std::int64_t numerator, std::int64_t denominator) {
  return std::to_string(numerator) + "/" + std::to_string(denominator);
}

std::string Formatted(const char* pattern, int first, int second, int third) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, first, second, third);
  return text;
}

std::string CsvField(std::string_view text) {
  std::string field;
  if (NeedsFormulaGuard(text)) field = "'";
  field += text;
  if (field.find_first_of(";\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (const char ch : field) {
    if (ch == '"') quoted += '"';
    quoted += ch;
  }
  return quoted + "\"";
}

}  // namespace

std::string DateText(const LocalTime& time) { return Formatted("%04d-%02d-%02d", time.year, time.month, time.day); }

std::string TimeText(const LocalTime& time) {
  return Formatted("%02d:%02d:%02d", time.hour, time.minute, time.second);
}

std::string DateTimeText(const LocalTime& time) { return DateText(time) + " " + TimeText(time); }

RegisterLine MakeRegisterLine(const JudgedAnswer& answer, std::string_view pupil, const LocalTime& judgedAt,
                              const LocalTime& competitionStartedAt, const GameMode& mode) {
  const PosedProblem& problem = answer.problem;
  const Judgement& judged = answer.judgement;
  RegisterLine line;
  line.date = DateText(judgedAt);
  line.time = TimeText(judgedAt);
  line.pupil = pupil;
  line.competition = DateTimeText(competitionStartedAt);
  line.problem = Fraction(problem.a, problem.d) + " + " + Fraction(problem.c, problem.d);
  line.answer = judged.numerator;
  if (judged.denominatorRead != 1.0) line.answer += "/" + judged.denominator;
  line.verdict = judged.verdict == Verdict::Right ? kRightText : kWrongText;
  line.solution = problem.expectedDenominator == 1 ? std::to_string(problem.expectedNumerator)
                                                   : Fraction(problem.expectedNumerator, problem.expectedDenominator);
  line.mistake = MistakeText(ClassifyMistake(answer));
  line.mode = ModeText(mode);
  return line;
}

bool NeedsFormulaGuard(std::string_view text) {
  const std::size_t lead = text.find_first_not_of('\'');
  return lead != std::string_view::npos && kFormulaLeads.find(text[lead]) != std::string_view::npos;
}

std::string RegisterLineText(const RegisterLine& line) {
  std::string text = CsvField(line.date);
  for (const std::string* field : {&line.time, &line.pupil, &line.competition, &line.problem, &line.answer,
                                   &line.verdict, &line.solution, &line.mistake, &line.mode}) {
    text += ';';
    text += CsvField(*field);
  }
  return text + std::string(kLineEnd);
}

std::string RegisterLineText(const RegisterEntry& entry) {
  JudgedAnswer answer;
  answer.problem = entry.problem;
  answer.typedNumerator = entry.numerator;
  answer.typedDenominator = entry.denominator;
  answer.judgement.numerator = entry.numerator;
  answer.judgement.denominator = entry.denominator;
  answer.judgement.numeratorRead = StrictNumber(entry.numerator);
  answer.judgement.denominatorRead = StrictNumber(entry.denominator);
  answer.judgement.verdict = entry.verdict;
  return RegisterLineText(MakeRegisterLine(answer, entry.pupil, entry.judgedAt, entry.startedAt, entry.mode));
}

RegisterLineView::RegisterLineView(const RegisterLine& line)
    : date(line.date),
      time(line.time),
      pupil(line.pupil),
      competition(line.competition),
      problem(line.problem),
      answer(line.answer),
      verdict(line.verdict),
      solution(line.solution),
      mistake(line.mistake),
      mode(line.mode) {}

RegisterLine RegisterLineView::ToLine() const {
  return {std::string(date),    std::string(time),   std::string(pupil),    std::string(competition),
          std::string(problem), std::string(answer), std::string(verdict), std::string(solution),
          std::string(mistake), std::string(mode)};
}

std::string RegisterHeaderText() {
  return std::string(kUtf8ByteOrderMark) + std::string(kRegisterHeader) + std::string(kLineEnd);
}

}  // namespace quorveno
