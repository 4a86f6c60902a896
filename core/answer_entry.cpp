#include "core/answer_entry.h"

#include "core/number_text.h"

namespace quorveno {

bool IsAcceptedAnswerKey(int keyCode) {
  return keyCode == '/' || keyCode == '+' || (keyCode >= '0' && keyCode <= '9') || keyCode == ' ' ||
         keyCode == 8;
}

bool DenominatorMakesWholeNumber(std::string_view denominatorText) {
  return LeadingNumber(denominatorText) == 1;
}

}  // namespace quorveno
