#pragma once

#include <memory>

#include "competition/game_events.h"
#include "core/random_generator.h"
#include "speech/speaking_dialogs.h"
#include "speech/threaded_speech.h"
#include "ui/message_box_dialogs.h"
#include "ui/register_listener.h"
#include "ui/screen_reader_texts.h"
#include "ui/tavola.h"
#include "ui/voice.h"

namespace quorveno {

// Sets the application up as the game needs it: its name (which names the
// user's record folder), one look on every desktop, Qt's Italian texts, and
// no quitting when a box closes before the window is shown, and the
// window's own descriptions for screen readers.
void PrepareApplication();

// The game as the program runs it: the window with the real boxes, the
// clock-seeded generator and the record's usual folder, and its listeners;
// with `voice`, read aloud in Italian.
class Game {
 public:
  explicit Game(bool voice = false);
  Tavola& window() { return tavola_; }
  GameEvents& events() { return events_; }

  // At the program's end, once the window has closed: waits a bounded time
  // for the register's lines still queued, and tells the ones that could not
  // be written, in a box and on standard error.
  void Finish();

 private:
  TavolaServices Services();
  void ConnectListeners();

  MessageBoxDialogs dialogs_;
  RandomGenerator random_;
  GameEvents events_;
  // Only with the voice: without it nothing of the voice is loaded.
  std::unique_ptr<ThreadedSpeech> speech_;
  std::unique_ptr<SpeakingDialogs> speakingDialogs_;
  // The window's boxes (read aloud with the voice) and clock, which the
  // register uses too.
  const TavolaServices services_;
  Tavola tavola_{services_};
  ScreenReaderTexts screenReader_{tavola_};
  std::unique_ptr<Voice> voice_;
  RegisterListener register_{services_.dialogs, services_.clock};
};

}  // namespace quorveno
