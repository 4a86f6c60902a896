#include "competition/class_register.h"

#include "competition/register_file.h"

namespace quorveno {
namespace {

const QString kRegisterFailure = QStringLiteral(
    "Non riesco a scrivere nel registro della classe (%1): %2.\n"
    "Puoi continuare a giocare: la gara va avanti, ma le risposte potrebbero non essere registrate.");

}  // namespace

LocalTime LocalTimeOf(const QDateTime& time) {
  const QDate date = time.date();
  const QTime clock = time.time();
  return {date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second()};
}

void ClassRegister::StartCompetition(const QString& recordDirectory, const QString& pupil,
                                     const QDateTime& startedAt) {
  const QString path = RegisterPath(recordDirectory);
  path_ = RegisterIsThere(path) ? std::optional(path) : std::nullopt;
  pupil_ = pupil.toStdString();
  startedAt_ = LocalTimeOf(startedAt);
  failureTold_ = false;
}

std::optional<QString> ClassRegister::Record(const JudgedAnswer& answer, const QDateTime& judgedAt) {
  if (!path_) return std::nullopt;
  const RegisterLine line = MakeRegisterLine(answer, pupil_, LocalTimeOf(judgedAt), startedAt_);
  const auto failure = AppendToRegister(*path_, QByteArray::fromStdString(RegisterLineText(line)));
  if (!failure || failureTold_) return std::nullopt;
  failureTold_ = true;
  return kRegisterFailure.arg(failure->path, failure->reason);
}

}  // namespace quorveno
