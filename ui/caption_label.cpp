#include "ui/caption_label.h"

#include <QPainter>

namespace quorveno {

CaptionLabel::CaptionLabel(bool fitsCaption, bool border, QWidget* parent)
    : QLabel(parent), fitsCaption_(fitsCaption), border_(border) {
  setTextFormat(Qt::PlainText);
  if (border_) setContentsMargins(1, 1, 1, 1);
}

void CaptionLabel::setCaption(const QString& caption) {
  setText(caption);
  // Measuring needs the font itself, not just its description; a label not
  // on screen yet is measured when it is shown, so start-up reaches its
  // first box without loading every font of the window.
  if (fitsCaption_ && isVisible()) resize(sizeHint());
}

void CaptionLabel::showEvent(QShowEvent* event) {
  if (fitsCaption_) resize(sizeHint());
  QLabel::showEvent(event);
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!border_) return;
  QPainter painter(this);
  painter.setPen(QColorConstants::Black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quorveno
