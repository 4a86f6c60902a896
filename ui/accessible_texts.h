#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace quorveno {

// What a screen reader is told about a control of the window, found by its
// object name.
struct AccessibleText {
  const char* control;
  // A label's name shows its caption at %1, so it changes with the caption
  // ("Risposte esatte: 3"); a box's or a button's name is fixed.
  const char* name;
  // Said after the name; none keeps the control's tooltip as its description.
  const char* description = nullptr;
  // A label's name while its caption is empty.
  const char* nameWhenEmpty = nullptr;
};

std::optional<AccessibleText> AccessibleTextFor(QStringView control);

// A control's own description, empty when it has none.
QString AccessibleDescription(QStringView control);

// A label's accessible name for its current caption.
QString LabelName(const AccessibleText& text, const QString& caption);

// The boxes that hold the solution: never shown to assistive technology.
bool IsSolutionBox(QStringView control);

}  // namespace quorveno
