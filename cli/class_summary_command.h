#pragma once

#include <QString>

#include <optional>

#include "storage/page_file.h"

namespace quorveno {

// The register in the record folder, where the game writes it.
QString DefaultRegisterPath();

struct SummaryOutcome {
  // The page written, when it was.
  QString pagePath;
  // Why nothing was written, in Italian.
  std::optional<QString> error;
};

// Reads the register at `registerPath` (never changing it) and writes the
// class summary page into `outputPath` (see WritePageFile: an existing file
// there is replaced only when it is an earlier summary, or any with
// PageReplacing::Any), or, without one, into a new file only the user may
// read, in the temporary folder, that stays for a browser to open.
SummaryOutcome WriteClassSummary(const QString& registerPath, const std::optional<QString>& outputPath,
                                 PageReplacing replacing = PageReplacing::OursOnly);

// The folder of the temporary pages: the user's runtime folder
// ($XDG_RUNTIME_DIR), private and gone at the end of the session, where
// there is one; the system's temporary folder otherwise.
QString TemporaryPageFolder();

}  // namespace quorveno
