#pragma once

#include <memory>

#include "competition/competition.h"
#include "competition/register_listener.h"
#include "ui/message_box_dialogs.h"
#include "ui/screen_reader_texts.h"
#include "ui/tavola.h"

namespace quorveno {

class SpeakingDialogs;
class ThreadedSpeech;
class Voice;

// Sets the application up as the game needs it: its name (which names the
// user's record folder), one look on every desktop, Qt's Italian texts, and
// no quitting when a box closes before the window is shown, and the
// window's own descriptions for screen readers.
void PrepareApplication();

// The game as the program runs it: the competition with the real boxes, the
// clock-seeded generator and the record's folder (reached directly or
// through its helper, chosen here once), the window that shows it, and its
// listeners; with `voice`, read aloud in Italian; starting with `mode`.
class Game {
 public:
  explicit Game(bool voice = false, const GameMode& mode = {});
  ~Game();

  Tavola& window() { return tavola_; }
  GameEvents& events() { return competition_.events(); }

  // At the program's end, once the window has closed: waits a bounded time
  // for the register's lines still queued, and tells the ones that could not
  // be written, in a box and on standard error.
  void Finish();

 private:
  Competition::Services Services(const GameMode& mode);
  // Every box of the game: read aloud with the voice.
  Dialogs& Boxes();
  void ConnectListeners();

  MessageBoxDialogs dialogs_;
  const std::unique_ptr<RandomSource> random_;
  const std::unique_ptr<RecordFolder> recordFolder_;
  // Only with the voice: without it nothing of the voice is loaded.
  const std::unique_ptr<ThreadedSpeech> speech_;
  const std::unique_ptr<SpeakingDialogs> speakingDialogs_;
  Competition competition_;
  Tavola tavola_{competition_};
  ScreenReaderTexts screenReader_{tavola_};
  const std::unique_ptr<Voice> voice_;
  RegisterListener register_;
};

}  // namespace quorveno
