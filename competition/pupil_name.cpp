#include "competition/pupil_name.h"

namespace quorveno {

QString OneLineName(const QString& typed) {
  QString name = typed.normalized(QString::NormalizationForm_C);
  for (QChar& character : name) {
    if (character.unicode() < 32 || character.unicode() == 127) character = QLatin1Char(' ');
  }
  return name;
}

}  // namespace quorveno
