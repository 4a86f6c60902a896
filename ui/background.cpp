#include "ui/background.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace quorveno {
namespace {

int Share(long long value) { return static_cast<int>(std::clamp<long long>(value, 0, 255)); }

int UnitToRow(int unit, int height) {
  return static_cast<int>((static_cast<long long>(unit) * height + kBandScaleUnits / 2) / kBandScaleUnits);
}

}  // namespace

QColor BandColour(int band, std::int32_t numerator, std::int32_t denominator) {
  return QColor(Share(numerator + 100LL), Share(denominator * 20LL), Share(band));
}

BandRows BandRowsFor(int band, int height) {
  const int first = UnitToRow(3 * band, height);
  if (first >= height) return {height, height};
  const int last = std::min(std::max(UnitToRow(3 * band + 2, height), first + 1), height);
  return {first, last};
}

Surface::Surface(QWidget* parent) : QWidget(parent) {
  // Everything is painted here; nothing of the parent needs to show through.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Surface::setBackgroundColour(const QColor& colour) {
  background_ = colour;
  Clear();
}

void Surface::Clear() {
  bands_.reset();
  update();
}

void Surface::PaintBands(std::int32_t numerator, std::int32_t denominator) {
  bands_ = Solution{numerator, denominator};
  update();
}

void Surface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.fillRect(exposed, background_);
  if (!bands_) return;
  for (int band = 0; band < kBandCount; ++band) {
    const BandRows rows = BandRowsFor(band, height());
    if (rows.first >= rows.last) break;
    const QRect bandRect(0, rows.first, width(), rows.last - rows.first);
    if (bandRect.intersects(exposed)) {
      painter.fillRect(bandRect, BandColour(band, bands_->numerator, bands_->denominator));
    }
  }
}

}  // namespace quorveno
