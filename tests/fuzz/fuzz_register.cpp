#include <cstddef>
#include <cstdint>
#include <string>

#include "core/cp1252.h"
#include "register/class_summary.h"
#include "register/register_line.h"
#include "register/register_reading.h"
#include "register/summary_page.h"
#include "fuzz_check.h"
#include "fuzz_input.h"

using namespace quorveno;
using namespace quorveno::fuzzing;

namespace {

// Lines as the reader counts them: ended by LF, CR LF or a bare CR.
std::size_t FileLines(std::string_view bytes) {
  std::size_t lines = 1;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) ++lines;
  }
  return lines;
}

}  // namespace

// Any name and answer, as a pupil may type them, are written into a line
// that reads back as they were; and any bytes in place of a register are
// read, summed and shown without harm, each bad line counted at most once,
// each line read with a mode the game names and no markup of theirs
// reaching the page.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  RegisterLine line{"2026-12-07", "09:31:05", input.TakeText(), "2026-12-07 09:30:00", "1/5 + 1/5",
                    input.TakeText(), "sbagliato", "2/5", "altro", "gara 15"};
  const std::string text = RegisterLineText(line);
  // A line the game writes spans one line of the file; one with line breaks
  // in its quoted fields is read up to RegisterReader::kRecordLines.
  if (FileLines(std::string_view(text).substr(0, text.size() - 2)) <= RegisterReader::kRecordLines) {
    const RegisterReading written = ReadRegister(RegisterHeaderText() + text);
    FUZZ_CHECK(written.unreadLines == 0);
    FUZZ_CHECK(written.lines.size() == 1);
    // A name that is not UTF-8 reads back as Windows-1252, as a spreadsheet
    // that re-saved it would have written it.
    FUZZ_CHECK(written.lines[0].pupil == line.pupil || !IsValidUtf8(line.pupil));
    FUZZ_CHECK(written.lines[0].answer == line.answer || !IsValidUtf8(line.answer));
    FUZZ_CHECK(written.lines[0].mode == line.mode);
  }

  const std::string bytes = input.TakeRest();
  const RegisterReading reading = ReadRegister(bytes);
  FUZZ_CHECK(reading.lines.size() + reading.unreadLines <= FileLines(bytes));
  ClassSummaryBuilder summary([](std::string_view name) { return PupilName{std::string(name), std::string(name)}; });
  for (const RegisterLine& read : reading.lines) {
    FUZZ_CHECK(ModeFromText(read.mode).has_value());
    summary.Add(read);
  }
  const std::string page = SummaryPage(summary.Finish(reading.unreadLines));
  FUZZ_CHECK(page.find("<script") == std::string::npos);
  FUZZ_CHECK(page.find("<img") == std::string::npos);
  return 0;
}
