#pragma once

#include <QColor>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace quorveno {

// The bands are laid on a scale of this many units for the whole client height.
inline constexpr int kBandScaleUnits = 512;
inline constexpr int kBandCount = 256;

// Band i: red from the reduced numerator, green from the reduced
// denominator, blue rising band by band; each share capped to 0..255.
QColor BandColour(int band, std::int32_t numerator, std::int32_t denominator);

// The pixel rows [first, last) that band i covers in a client `height` pixels
// high: 2 units from unit 3i, so a 1-unit gap shows the cleared colour below
// each band. Empty for the bands below the bottom edge. A band never rounds
// away to nothing: on a short window the gaps vanish first.
struct BandRows {
  int first;
  int last;
};
BandRows BandRowsFor(int band, int height);

// The window's drawing surface: its background colour and, for the problem
// being answered, the coloured bands. The picture is kept as this state and
// painted on demand, so it survives uncovering and follows every resize.
class Surface final : public QWidget {
  Q_OBJECT

 public:
  explicit Surface(QWidget* parent);

  // Setting the colour also wipes the bands.
  void setBackgroundColour(const QColor& colour);
  QColor backgroundColour() const { return background_; }

  // Fills the surface with its background colour, discarding the bands.
  void Clear();
  // Paints the bands of the solution numerator / denominator.
  void PaintBands(std::int32_t numerator, std::int32_t denominator);
  bool showsBands() const { return bands_.has_value(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Solution {
    std::int32_t numerator;
    std::int32_t denominator;
  };

  QColor background_;
  std::optional<Solution> bands_;
};

}  // namespace quorveno
