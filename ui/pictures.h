#pragma once

#include <QIcon>
#include <QPixmap>

namespace quorveno {

QIcon WindowIcon();

struct ButtonPictures {
  QPixmap normal;
  QPixmap pressed;
  QPixmap disabled;
};

// The next-problem button smiles when it can be pressed, laughs while held
// down, and keeps a straight face while a problem waits for its answer.
ButtonPictures NextButtonPictures();
// The exit button always shows its no-entry sign.
ButtonPictures ExitButtonPictures();

}  // namespace quorveno
