#pragma once

#include <QString>

#include <optional>

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
// class summary page into `outputPath`, or, without one, into a new file in
// the temporary folder that stays for a browser to open.
SummaryOutcome WriteClassSummary(const QString& registerPath, const std::optional<QString>& outputPath);

}  // namespace quorveno
