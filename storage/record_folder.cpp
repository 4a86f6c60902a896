#include "storage/record_folder.h"

#include "storage/direct_record_folder.h"
#include "storage/helper_record_folder.h"

namespace quorveno {

std::unique_ptr<RecordFolder> OpenRecordFolder(const RecordLocation& location) {
  if (location.helper.isEmpty()) return std::make_unique<DirectRecordFolder>(location);
  return std::make_unique<HelperRecordFolder>(location);
}

}  // namespace quorveno
