#pragma once

#include <QColor>
#include <QWidget>

namespace quorveno {

// A horizontal line of the window, such as a fraction bar: drawn above the
// painted background and below the boxes and buttons created after it.
class LineShape final : public QWidget {
  Q_OBJECT

 public:
  LineShape(const QColor& colour, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor colour_;
};

}  // namespace quorveno
