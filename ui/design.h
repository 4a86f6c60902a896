#pragma once

#include <QRgb>

#include <optional>
#include <span>

#include "resources/pointers.h"

namespace quorveno {

// The design state of the window Tavola: every control as it stands each
// time the window is loaded. Positions and sizes are in twips from the
// top-left corner of the client area, below the menu bar.

enum class ControlKind { TextBox, Label, Button };

struct FontDesign {
  const char* family = nullptr;  // nullptr: the platform's usual font
  double points = 0;
  bool bold = false;
  bool italic = false;
};

struct ControlDesign {
  const char* name;
  ControlKind kind;
  int left, top, width, height;
  const char* caption;  // UTF-8; "&" marks a button's access key
  FontDesign font{};
  std::optional<QRgb> textColour = std::nullopt;    // nullopt: the kind's usual colour
  std::optional<QRgb> background = std::nullopt;    // boxes and buttons only; labels are transparent
  bool border = false;
  bool centred = false;
  bool fitsCaption = false;
  const char* toolTip = nullptr;
  bool visible = true;
  std::optional<Pointer> pointer = std::nullopt;  // nullopt: the window's own
};

// Element `index` of the line array Line1, drawn `widthPixels` wide.
struct LineDesign {
  int index;
  int x1, y1, x2, y2;
  QRgb colour;
  int widthPixels;
};

// In creation order, which is also the stacking order: later controls lie above earlier ones.
std::span<const ControlDesign> ControlDesigns();
std::span<const LineDesign> LineDesigns();

inline constexpr int kClientWidthTwips = 10935;
inline constexpr int kClientHeightTwips = 7740;
inline constexpr QRgb kDesignBackground = 0xFF0000FF;  // blue
inline constexpr const char* kDesignTitle = "Belmiraz";
inline constexpr int kTimerIntervalMs = 1000;

}  // namespace quorveno
