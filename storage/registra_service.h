#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "core/helper_request.h"

// quorveno-registra, the small set-group-id program that alone writes the
// machine-wide record folder (record files 0664 and register 0660, group
// games): what it does with a request, and how it answers the game. The
// game itself has no privilege; it reads the record as any file and asks
// this program to save it or to add a register line.
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
  // its group: nothing is touched.
  CannotRun = 3,
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

// Whether `folder` may be written by the program: a real folder (not a
// link) that only root may change, so nobody can put a link in place of
// its files between the checks of the save procedure.
std::optional<QString> UnsafeFolderReason(const QString& folder);

// Carries out a request in `folder` with the rights the process has now.
// A record request of score 0 beats nothing: it only finishes a save that a
// stopped copy left, which is how an account that may not write the
// journal asks for it.
HelperOutcome ServeRequest(const HelperRequest& request, const QString& folder);

}  // namespace quorveno
