#pragma once

#include <QPixmap>
#include <QToolButton>

namespace quorveno {

// A graphical command button: its background colour, with a picture above
// the caption. The picture changes when the button is held down or disabled.
class PictureButton final : public QToolButton {
  Q_OBJECT

 public:
  explicit PictureButton(QWidget* parent);

  void setPictures(const QPixmap& normal, const QPixmap& pressed, const QPixmap& disabled);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap normal_;
  QPixmap pressed_;
  QPixmap disabled_;
};

}  // namespace quorveno
