#pragma once

#include <QLabel>

namespace quorveno {

// A label whose caption the program sets as a whole, over a transparent
// background, optionally framed by a single black line. One that fits its
// caption resizes itself to it whenever the caption changes, keeping its
// top-left corner, so counters and names grow to the right.
class CaptionLabel final : public QLabel {
  Q_OBJECT

 public:
  CaptionLabel(bool fitsCaption, bool border, QWidget* parent);

  void setCaption(const QString& caption);
  QString caption() const { return text(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool fitsCaption_;
  bool border_;
};

}  // namespace quorveno
