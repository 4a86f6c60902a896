#include "ui/picture_button.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace quorveno {
namespace {

// The style keeps the panels it draws in the pixmap cache under the identity
// of the palette they were drawn with. Every new competition builds its
// buttons afresh, each with a palette of its own identity, so their panels
// would pile up in the cache. Buttons of equal colours draw with one shared
// palette instead, and find the panels drawn for the buttons before them.
QPalette SharedPanelPalette(const QPalette& palette) {
  static QList<QPalette> shared;
  for (const QPalette& known : shared) {
    if (known == palette) {
      QPalette result = known;
      result.setCurrentColorGroup(palette.currentColorGroup());
      return result;
    }
  }
  shared.append(palette);
  return palette;
}

}  // namespace

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
  option.palette = SharedPanelPalette(option.palette);
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
