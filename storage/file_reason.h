#pragma once

#include <QString>
#include <QStringView>

namespace quorveno {

// Why a record file could not be used, in Italian: the game is played by
// Italian pupils and the reason ends up in a message box.
inline constexpr QStringView kSymlinkReason = u"è un collegamento simbolico";
inline constexpr QStringView kNotRegularReason = u"non è un file normale";
inline constexpr QStringView kFolderReason = u"è una cartella";
inline constexpr QStringView kOtherOwnerReason = u"appartiene a un altro utente, in una cartella condivisa";
inline constexpr QStringView kRegisterItselfReason = u"è il registro stesso da cui si fa il riepilogo";
inline constexpr QStringView kChangedReason = u"il file è cambiato mentre lo aprivo";
inline constexpr QStringView kNotOurPageReason = u"esiste già e non è un riepilogo di Quorveno";
inline constexpr QStringView kLockTimeoutReason = u"il file è bloccato da un'altra copia del programma";

// The reason for a C library error number; an unusual one keeps its number
// and the system's own wording after an Italian lead, never the bare
// English text.
QString ReasonForErrno(int errorNumber);

}  // namespace quorveno
