#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <QTest>

#include "ui/picture_button.h"

using namespace quorveno;

namespace {

// Fusion, noting the palette that each button panel is drawn with: the
// style caches panels under that palette's identity.
class PanelRecordingStyle final : public QProxyStyle {
 public:
  PanelRecordingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override {
    if (control == CC_ToolButton) palettes.append(option->palette);
    QProxyStyle::drawComplexControl(control, option, painter, widget);
  }

  mutable QList<QPalette> palettes;
};

// Paints a button of `colour` on a window of its own, as each new
// competition builds its buttons.
void PaintButton(PanelRecordingStyle& style, const QColor& colour) {
  QWidget window;
  auto* button = new PictureButton(&window);
  button->setStyle(&style);
  QPalette palette = button->palette();
  palette.setColor(QPalette::Button, colour);
  button->setPalette(palette);
  QPixmap picture(32, 32);
  picture.fill(Qt::yellow);
  button->setPictures(picture, picture, picture);
  button->grab();
}

}  // namespace

class TestPictureButton : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void panelsOfLaterButtonsComeFromTheCache_data();
  void panelsOfLaterButtonsComeFromTheCache();
};

void TestPictureButton::panelsOfLaterButtonsComeFromTheCache_data() {
  QTest::addColumn<QColor>("first");
  QTest::addColumn<QColor>("second");
  QTest::newRow("equal colours share one palette") << QColor(192, 192, 192) << QColor(192, 192, 192);
  QTest::newRow("other colours keep their own") << QColor(192, 192, 192) << QColor(0, 128, 0);
}

void TestPictureButton::panelsOfLaterButtonsComeFromTheCache() {
  QFETCH(QColor, first);
  QFETCH(QColor, second);
  PanelRecordingStyle style;
  PaintButton(style, first);
  PaintButton(style, second);

  QCOMPARE(style.palettes.size(), 2);
  QCOMPARE(style.palettes[0].color(QPalette::Button), first);
  QCOMPARE(style.palettes[1].color(QPalette::Button), second);
  QCOMPARE(style.palettes[0].cacheKey() == style.palettes[1].cacheKey(), first == second);
}

QTEST_MAIN(TestPictureButton)
#include "test_picture_button.moc"
