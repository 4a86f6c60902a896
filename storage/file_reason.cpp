#include "storage/file_reason.h"

#include <cerrno>
#include <cstring>

namespace quorveno {

QString ReasonForErrno(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return QStringLiteral("permesso negato");
    case ENOSPC:
      return QStringLiteral("disco pieno");
#ifdef EDQUOT
    case EDQUOT:
      return QStringLiteral("spazio disco dell'utente esaurito");
#endif
    case EROFS:
      return QStringLiteral("file system di sola lettura");
    case ELOOP:
      return kSymlinkReason.toString();
    case EISDIR:
    case ENXIO:
    case ENODEV:
      return kNotRegularReason.toString();
    case ENOENT:
      return QStringLiteral("il file o la cartella non esiste");
    case ENOTDIR:
      return QStringLiteral("una parte del percorso non è una cartella");
    case ENAMETOOLONG:
      return QStringLiteral("percorso troppo lungo");
    case EFBIG:
      return QStringLiteral("il file supera la dimensione consentita");
    case EIO:
      return QStringLiteral("errore di lettura o scrittura sul disco");
    case EMFILE:
    case ENFILE:
      return QStringLiteral("troppi file aperti");
    case ENOMEM:
      return QStringLiteral("memoria insufficiente");
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK:
      return QStringLiteral("il file è in uso");
    default:
      return QStringLiteral("errore di sistema n. %1 (%2)")
          .arg(errorNumber)
          .arg(QString::fromLocal8Bit(std::strerror(errorNumber)));
  }
}

}  // namespace quorveno
