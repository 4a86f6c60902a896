#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/number_text.h"
#include "fuzz_check.h"
#include "fuzz_input.h"
#include "reference_number.h"

using namespace quorveno;
using namespace quorveno::fuzzing;

// The number readers on any text: the strict one agrees with the reference
// reading, the lenient one agrees with it wherever the strict one accepts,
// and a number written by NumberText reads back as itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const auto strict = StrictNumber(text);
  const auto reference = ReferenceStrictNumber(text);
  FUZZ_CHECK(strict.has_value() == reference.has_value());
  const double lenient = LeadingNumber(text);
  FUZZ_CHECK(!std::isnan(lenient));
  if (strict) {
    FUZZ_CHECK(*strict == *reference);
    FUZZ_CHECK(lenient == *strict);
    FUZZ_CHECK(StrictNumber(NumberText(*strict)) == *strict);
  }
  NumberText(lenient);

  // The same bytes as a count and a digit pattern.
  FuzzInput input(data, size);
  const auto count = static_cast<long>(input.TakeUnsigned(sizeof(long)));
  const std::string digits = FormatCount(count, input.TakeRest());
  FUZZ_CHECK(!digits.empty());
  FUZZ_CHECK(std::strtol(digits.c_str(), nullptr, 10) == count);
  return 0;
}
