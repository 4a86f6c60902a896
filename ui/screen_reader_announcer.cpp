#include "ui/screen_reader_announcer.h"

namespace quorveno {

ScreenReaderAnnouncer::ScreenReaderAnnouncer(QWidget* window) : QWidget(window) {
  setObjectName(QStringLiteral("announcer"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setGeometry(0, 0, 0, 0);
  hide();
}

// Hidden and shown again, so that a screen reader hears a new notification
// even when the sentence is the same as the last one.
void ScreenReaderAnnouncer::Announce(const QString& sentence) {
  hide();
  setAccessibleName(sentence);
  show();
}

}  // namespace quorveno
