#include "ui/pictures.h"

namespace quorveno {
namespace {

QPixmap Resource(const char* path) { return QPixmap(QString::fromLatin1(path)); }

}  // namespace

QIcon WindowIcon() { return QIcon(Resource(":/pictures/icon.png")); }

ButtonPictures NextButtonPictures() {
  return {Resource(":/pictures/next_smile.png"), Resource(":/pictures/next_laugh.png"),
          Resource(":/pictures/next_neutral.png")};
}

ButtonPictures ExitButtonPictures() {
  const QPixmap sign = Resource(":/pictures/exit_no_entry.png");
  return {sign, sign, sign};
}

}  // namespace quorveno
