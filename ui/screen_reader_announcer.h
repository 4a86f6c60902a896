#pragma once

#include <QString>
#include <QWidget>

namespace quorveno {

// Has a screen reader say a sentence wherever the focus is, without moving
// it and without changing what the window shows. Qt 6.4 has no
// announcement for assistive technology, and Orca 43 says nothing when a
// control's name or description changes in a Qt program (Qt tells the
// control, not the new text, and Orca drops the event). Orca does say a
// notification as soon as one is shown, so the announcer is a notification
// that draws nothing, shown anew with each sentence.
class ScreenReaderAnnouncer final : public QWidget {
  Q_OBJECT

 public:
  explicit ScreenReaderAnnouncer(QWidget* window);

  void Announce(const QString& sentence);
};

}  // namespace quorveno
