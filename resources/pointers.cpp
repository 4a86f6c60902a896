#include "resources/pointers.h"

#include <QPixmap>
#include <QPoint>
#include <QString>

namespace quorveno {

namespace {

struct PointerPicture {
  QString path;
  QPoint hotSpot;
};

// The hot spots follow the drawings in pointers/*.svg: the hand's fingertip,
// the waving hand, the wing's tip and the centre of the squares. A value
// outside the enumeration gets the window's own pointer.
PointerPicture PictureOf(Pointer pointer) {
  switch (pointer) {
    case Pointer::Hand:
      return {QStringLiteral(":/pointers/hand.png"), QPoint(1, 1)};
    case Pointer::Waving:
      return {QStringLiteral(":/pointers/waving.png"), QPoint(3, 3)};
    case Pointer::Note:
      return {QStringLiteral(":/pointers/note.png"), QPoint(0, 0)};
    case Pointer::Icon:
      return {QStringLiteral(":/pointers/icon_pointer.png"), QPoint(15, 15)};
  }
  return PictureOf(Pointer::Hand);
}

}  // namespace

QCursor PointerCursor(Pointer pointer) {
  const PointerPicture picture = PictureOf(pointer);
  return QCursor(QPixmap(picture.path), picture.hotSpot.x(), picture.hotSpot.y());
}

}  // namespace quorveno
