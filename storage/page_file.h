#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

#include "storage/file_failure.h"

// Writing the class summary page where the teacher names it, without ever
// clobbering a file that is not such a page: the page is written to the path
// as named, never through a link, never over the register it was made from,
// a folder, a device or a fifo, and never over a file of another account in
// a shared folder such as /tmp.
namespace quorveno {

// Which existing regular file may be replaced: one that starts as our pages
// do (an earlier summary), or any the user may write, when asked to.
enum class PageReplacing { OursOnly, Any };

struct PageFailure {
  FileFailure failure;
  // The file is there and is not one of our pages: the user may choose to
  // replace it, or another name.
  bool notOurPage = false;
};

// Writes `page` into `path`, a new file or a page it may replace. `source`
// is the register the page was made from.
std::optional<PageFailure> WritePageFile(const QString& path, const QByteArray& page, const QString& source,
                                         PageReplacing replacing);

}  // namespace quorveno
