#pragma once

#include <QFont>

#include "ui/design.h"

namespace quorveno {

// The font of a control. A family the machine lacks is replaced by the
// nearest one of the same kind (Liberation Serif for "Times New Roman",
// Liberation Sans for the sans-serif ones; "Arial Black" as Liberation Sans
// at its heaviest weight). Sizes are set in pixels through the twips scale,
// so text keeps its place in the layout whatever the screen's resolution.
QFont DesignFont(const FontDesign& design);

}  // namespace quorveno
