#pragma once

#include <QString>

namespace quorveno {

inline const QString kExitQuestion = QStringLiteral("Vuoi veramente lasciarmi  ?");
inline const QString kExitTitle = QStringLiteral("Uscire dal programma");
inline const QString kNewCompetitionQuestion = QStringLiteral("INIZIAMO UNA NUOVA GARA  ?");
inline const QString kNewCompetitionTitle = QStringLiteral("INIZIARE NUOVA GARA");

// The worked example of the help command, addressed to the pupil.
QString HelpText(const QString& pupilName);

}  // namespace quorveno
