#pragma once

#include <QString>
#include <QStringView>

// What the game and quorveno-registra, the small program that alone writes
// the machine-wide record folder under an account of its own, say to each
// other: the game has no privilege and asks this program to read the
// record, save it or add a register line; the request's text is
// register/helper_request.h.
namespace quorveno {

inline constexpr QStringView kHelperProgramName = u"quorveno-registra";

// How the program ends. Done and Failed answer with one line on standard
// output: a reply word below, or the Italian reason of the failure.
enum class HelperStatus {
  Done = 0,
  Failed = 1,
  // Not exactly one request (see helper_request.h): nothing is touched.
  Refused = 2,
  // The folder is not the one the package lays out, or the program lacks
  // its account: nothing is touched.
  CannotRun = 3,
  // More requests from this account than any class makes: nothing is
  // touched, and the reason says the limit.
  Limited = 4,
};

inline constexpr QStringView kSavedReply = u"salvato";
inline constexpr QStringView kNotBeatenReply = u"non battuto";
inline constexpr QStringView kAppendedReply = u"aggiunta";
// A read record: this word, then the bytes of the points file and of the
// name file, each percent-encoded, separated by ';'.
inline constexpr QStringView kRecordReadReply = u"record";

struct HelperOutcome {
  HelperStatus status = HelperStatus::Done;
  QString reply;
};

}  // namespace quorveno
