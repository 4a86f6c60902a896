#include "ui/fonts.h"

#include <QFontDatabase>

#include "ui/twips.h"

namespace quorveno {
namespace {

struct Substitute {
  const char* family;
  const char* replacement;
  QFont::Weight weight;  // QFont::Normal: the design's own weight
};

constexpr Substitute kSubstitutes[] = {
    {"Times New Roman", "Liberation Serif", QFont::Normal},
    {"Arial", "Liberation Sans", QFont::Normal},
    {"Arial Black", "Liberation Sans", QFont::Black},
    {"MS Sans Serif", "Liberation Sans", QFont::Normal},
};

// Whether the machine has the family installed. The installed families are
// listed once: asking the font configuration about a family instead, as
// QFontDatabase::hasFamily does, takes about as long as loading a font.
bool MachineHasFamily(const QString& family) {
  static const QStringList installed = QFontDatabase::families();
  return installed.contains(family, Qt::CaseInsensitive);
}

}  // namespace

QFont DesignFont(const FontDesign& design) {
  QFont font;
  if (design.family == nullptr) return font;

  QString family = QString::fromUtf8(design.family);
  QFont::Weight weight = design.bold ? QFont::Bold : QFont::Normal;
  if (!MachineHasFamily(family)) {
    for (const Substitute& substitute : kSubstitutes) {
      if (family == QLatin1String(substitute.family)) {
        family = QString::fromUtf8(substitute.replacement);
        if (substitute.weight != QFont::Normal) weight = substitute.weight;
        break;
      }
    }
  }
  font.setFamilies({family});
  font.setPixelSize(PointsToPixels(design.points));
  font.setWeight(weight);
  font.setItalic(design.italic);
  return font;
}

}  // namespace quorveno
