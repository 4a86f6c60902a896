#include "ui/accessible_texts.h"

#include <array>

namespace quorveno {
namespace {

constexpr std::array kTexts = {
    AccessibleText{"Text1", "Numeratore della prima frazione",
                   "Si può cambiare: un numero intero da 0 a 999, usato dal prossimo calcolo"},
    AccessibleText{"Text2", "Denominatore della prima frazione"},
    AccessibleText{"Text5", "Numeratore della seconda frazione"},
    AccessibleText{"Text6", "Denominatore della seconda frazione"},
    AccessibleText{"txtAnswer", "Numeratore del risultato"},
    AccessibleText{"Text3", "Denominatore del risultato"},
    AccessibleText{"cmdNext", "Nuovo calcolo", "Propone un nuovo calcolo"},
    AccessibleText{"cmdExit", "Esci"},
    AccessibleText{"lblconto", "Tempo restante: %1"},
    AccessibleText{"lblMessage", "Messaggio: %1", nullptr, "Nessun messaggio"},
    AccessibleText{"lblScore", "Risposte esatte: %1"},
    AccessibleText{"lblScore1", "Risposte errate: %1"},
    AccessibleText{"lblScore2", "Risposte totali: %1"},
    AccessibleText{"lblnome1", "Sfidante: %1", nullptr, "Sfidante"},
    AccessibleText{"lblnome", "Il record è di %1", nullptr, "Nessun record"},
    AccessibleText{"lblpunti", "Punti del record: %1", nullptr, "Punti del record: nessuno"},
};

}  // namespace

std::optional<AccessibleText> AccessibleTextFor(QStringView control) {
  for (const AccessibleText& text : kTexts) {
    if (control == QLatin1String(text.control)) return text;
  }
  return std::nullopt;
}

QString AccessibleDescription(QStringView control) {
  const std::optional<AccessibleText> text = AccessibleTextFor(control);
  return text && text->description ? QString::fromUtf8(text->description) : QString();
}

// Captions are shown with the blanks the design gives them; the name is
// said, so they are trimmed.
QString LabelName(const AccessibleText& text, const QString& caption) {
  const QString said = caption.trimmed();
  if (said.isEmpty() && text.nameWhenEmpty) return QString::fromUtf8(text.nameWhenEmpty);
  return QString::fromUtf8(text.name).arg(said);
}

bool IsSolutionBox(QStringView control) {
  return control == QLatin1String("Text9") || control == QLatin1String("Text10");
}

}  // namespace quorveno
