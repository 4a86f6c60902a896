#include "ui/picture_button.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace quorveno {

PictureButton::PictureButton(QWidget* parent) : QToolButton(parent) {
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setIconSize(QSize(32, 32));
  // Command buttons take the focus when clicked, as well as by Tab.
  setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& disabled) {
  normal_ = normal;
  pressed_ = pressed;
  disabled_ = disabled;
  // With no icon of its own the button would lay itself out as text only.
  setIcon(QIcon(normal));
  update();
}

void PictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionToolButton option;
  initStyleOption(&option);
  const QPixmap& picture = !isEnabled() ? disabled_ : isDown() ? pressed_ : normal_;
  // The same picture in every mode, so the style does not grey it out.
  QIcon icon;
  icon.addPixmap(picture, QIcon::Normal);
  icon.addPixmap(picture, QIcon::Disabled);
  icon.addPixmap(picture, QIcon::Active);
  option.icon = icon;
  painter.drawComplexControl(QStyle::CC_ToolButton, option);
}

}  // namespace quorveno
