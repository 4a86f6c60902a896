#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/class_summary.h"
#include "core/register_line.h"
#include "core/register_reading.h"
#include "core/summary_page.h"
#include "fuzz_check.h"
#include "fuzz_input.h"

using namespace quorveno;
using namespace quorveno::fuzzing;

// Any name and answer, as a pupil may type them, are written into a line
// that reads back as they were; and any bytes in place of a register are
// read, summed and shown without harm, each bad line counted at most once
// and no markup of theirs reaching the page.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  RegisterLine line{"2026-12-07", "09:31:05", input.TakeText(), "2026-12-07 09:30:00", "1/5 + 1/5",
                    input.TakeText(), "sbagliato", "2/5", "altro"};
  const RegisterReading written = ReadRegister(RegisterHeaderText() + RegisterLineText(line));
  FUZZ_CHECK(written.unreadLines == 0);
  FUZZ_CHECK(written.lines.size() == 1);
  FUZZ_CHECK(written.lines[0].pupil == line.pupil);
  FUZZ_CHECK(written.lines[0].answer == line.answer);

  const std::string bytes = input.TakeRest();
  const RegisterReading reading = ReadRegister(bytes);
  const auto physicalLines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  FUZZ_CHECK(reading.lines.size() + reading.unreadLines <= physicalLines);
  const std::string page = SummaryPage(SummariseRegister(reading));
  FUZZ_CHECK(page.find("<script") == std::string::npos);
  FUZZ_CHECK(page.find("<img") == std::string::npos);
  return 0;
}
