#include "competition/pupil_name.h"

namespace quorveno {

QString OneLineName(const QString& typed) {
  QString name = typed.normalized(QString::NormalizationForm_C);
  for (QChar& character : name) {
    if (character.unicode() < 32 || character.unicode() == 127) character = QLatin1Char(' ');
  }
  return name;
}

PupilName SummaryPupilName(std::string_view written) {
  const QString shown = QString::fromUtf8(written.data(), static_cast<qsizetype>(written.size()))
                            .simplified()
                            .normalized(QString::NormalizationForm_C);
  const QString key =
      shown.normalized(QString::NormalizationForm_D).toCaseFolded().normalized(QString::NormalizationForm_C);
  return {shown.toStdString(), key.toStdString()};
}

}  // namespace quorveno
