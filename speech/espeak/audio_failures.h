#pragma once

#include <QString>

// What the pupil is told when the sound output cannot play the voice, the
// same whichever output plays it.
namespace quorveno::audio_failures {

inline QString NoOutput() {
  return QStringLiteral("Non riesco a parlare: questo computer non ha un'uscita audio. Il gioco continua senza voce.");
}

inline QString FormatRefused(const QString& output) {
  return QStringLiteral(
             "Non riesco a parlare: l'uscita audio «%1» non accetta la voce. Il gioco continua senza voce.")
      .arg(output);
}

inline QString DoesNotOpen() {
  return QStringLiteral("Non riesco a parlare: l'uscita audio non si apre. Il gioco continua senza voce.");
}

inline QString Lost() {
  return QStringLiteral("Non riesco più a parlare: l'uscita audio si è interrotta. Il gioco continua senza voce.");
}

}  // namespace quorveno::audio_failures
