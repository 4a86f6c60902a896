#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// The numbers, dates and times of the register's lines and of the helper's
// request, read one way; each reader sets around them the forms it accepts.
namespace quorveno {

// The value of 1 to `mostDigits` ASCII digits, without sign or blank, when it
// lies within [lowest, highest] (0 <= lowest <= highest). Digits past
// `highest` are refused as soon as they pass it, so no int ever overflows.
std::optional<int> DigitsNumber(std::string_view text, std::size_t mostDigits, int lowest, int highest);

struct DateFields {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct TimeFields {
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// "2026-12-07", as the game writes a date: any day from 01 to 31, whatever
// the month; IsCalendarDay tells a day the calendar has.
std::optional<DateFields> GameDate(std::string_view text);

// "09:30:05", as the game writes a time; a second of 60, a leap second, is
// taken.
std::optional<TimeFields> GameTime(std::string_view text);

// A day of years 1 to 9999 that the Gregorian calendar has.
bool IsCalendarDay(const DateFields& date);

}  // namespace quorveno
