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
  if (fitsCaption_) resize(sizeHint());
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!border_) return;
  QPainter painter(this);
  painter.setPen(QColorConstants::Black);
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace quorveno
