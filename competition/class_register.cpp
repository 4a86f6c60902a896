#include "competition/class_register.h"

#include <QDir>

namespace quorveno {
namespace {

const QString kRegisterFailure = QStringLiteral(
    "Non riesco a scrivere nel registro della classe (%1): %2.\n"
    "Puoi continuare a giocare: la gara va avanti, ma le risposte potrebbero non essere registrate.");

}  // namespace

QString UnwrittenLinesMessage(const QString& registerPath, const std::vector<QByteArray>& lines) {
  const QString path = QDir::toNativeSeparators(registerPath);
  QString message =
      lines.size() == 1
          ? QStringLiteral("Una risposta non è stata scritta nel registro della classe (%1):\n").arg(path)
          : QStringLiteral("%1 risposte non sono state scritte nel registro della classe (%2):\n")
                .arg(lines.size())
                .arg(path);
  for (std::size_t i = 0; i < lines.size() && i < kUnwrittenLinesShown; ++i) {
    message += QString::fromUtf8(lines[i]).trimmed() + QLatin1Char('\n');
  }
  if (lines.size() > kUnwrittenLinesShown) {
    message += QStringLiteral("... e altre %1.\n").arg(lines.size() - kUnwrittenLinesShown);
  }
  return message;
}

LocalTime LocalTimeOf(const QDateTime& time) {
  const QDate date = time.date();
  const QTime clock = time.time();
  return {date.year(), date.month(), date.day(), clock.hour(), clock.minute(), clock.second()};
}

void ClassRegister::StartCompetition(const QString& pupil, const QDateTime& startedAt, const GameMode& mode) {
  pupil_ = pupil.toStdString();
  startedAt_ = LocalTimeOf(startedAt);
  mode_ = mode;
  failureTold_ = false;
}

RegisterEntry ClassRegister::EntryFor(const JudgedAnswer& answer, const QDateTime& judgedAt) const {
  const Judgement& judged = answer.judgement;
  return {LocalTimeOf(judgedAt), startedAt_,      answer.problem, judged.verdict,
          judged.numerator,      judged.denominator, pupil_,         mode_};
}

std::optional<QString> ClassRegister::FailureToTell(const QString& path, const QString& reason) {
  if (failureTold_) return std::nullopt;
  failureTold_ = true;
  return kRegisterFailure.arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace quorveno
