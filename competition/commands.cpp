#include "competition/commands.h"

namespace quorveno {

QString HelpText(const QString& pupilName) {
  return pupilName +
         QStringLiteral(" Devi risolvere così: es 4/15 + 1/15 = 5/15 poi semplicando 1/3  ") +
         QStringLiteral("Ciao");
}

}  // namespace quorveno
