"""A pupil who plays the real game by ear, with its voice on.

Presses keys on the game's windows (xdotool) and listens to the recording of
the sound server's null sink: after each key that should make the game
speak, it waits for speech to start in the recording and for it to end, and
checks that it lasted as long as a sentence does. Some sentences are cut
short on purpose by the next key, as a pupil does with a box already
understood; the sentence that replaces one must then be heard in full.
Prints the timeline of key presses and utterances; exits non-zero with the
reason at the first thing that is not as it should be.

Usage: voice_pupil.py whole|first|lost RECORDING RATE GAME_PID SERVER_PID
With "first", the pupil leaves after the first problem. With "lost", the
sound server is killed in the middle of the game: the game must say so once,
in a box, and go on without its voice.
"""

import array
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from pupil_process import Fault, alive, say  # noqa: E402

STEP_SECONDS = 30
# Speech is any 10 ms frame with a sample louder than this; the null sink
# gives exact zeros when nothing plays.
FRAME_SECONDS = 0.01
LOUD = 200
# A sentence has ended after this much silence; espeak-ng pauses less
# between the words of one sentence.
SILENCE_SECONDS = 0.7
# Every sentence the game says lasts longer than this ("Esatto!" 0.5 s); the faults it replaces
# gave blips of 0.02 s.
SHORTEST_SENTENCE = 0.3
# How far into a sentence the pupil cuts it short.
CUT_AFTER = 0.3
MAIN_TITLE_END = "Quorveno"
BOX_TITLE = "Quorveno"
EXIT_TITLE = "Uscire dal programma"


class Recording:
    """The null sink's monitor as it is being written, 16-bit mono."""

    def __init__(self, path, rate):
        self.path = path
        self.rate = rate
        self.samples = array.array("h")
        self.read_bytes = 0
        self.pending = b""
        # The monotonic time of the recording's first sample: the data can
        # only arrive late, so the earliest estimate is the best.
        self.start = float("inf")
        self.loud_frames = []

    def update(self):
        with open(self.path, "rb") as recording:
            recording.seek(self.read_bytes)
            data = recording.read()
        now = time.monotonic()
        self.read_bytes += len(data)
        data = self.pending + data
        whole = len(data) - len(data) % 2
        self.pending = data[whole:]
        self.samples.frombytes(data[:whole])
        if self.samples:
            self.start = min(self.start, now - len(self.samples) / self.rate)
        frame = int(self.rate * FRAME_SECONDS)
        for first in range(len(self.loud_frames) * frame, len(self.samples) - frame + 1, frame):
            chunk = self.samples[first:first + frame]
            self.loud_frames.append(max(chunk) > LOUD or -min(chunk) > LOUD)

    def seconds(self):
        """How much has been recorded, in seconds."""
        return len(self.loud_frames) * FRAME_SECONDS

    def at(self, moment):
        """A monotonic moment as seconds into the recording."""
        return moment - self.start

    def first_loud(self, after):
        first = int(after / FRAME_SECONDS)
        for index in range(max(first, 0), len(self.loud_frames)):
            if self.loud_frames[index]:
                return index * FRAME_SECONDS
        return None

    def end_of_speech(self, start):
        """The end of the speech begun at `start`, once silence has followed it."""
        last_loud = None
        quiet = 0
        for index in range(int(start / FRAME_SECONDS), len(self.loud_frames)):
            if self.loud_frames[index]:
                last_loud = index
                quiet = 0
            else:
                quiet += 1
                if last_loud is not None and quiet * FRAME_SECONDS >= SILENCE_SECONDS:
                    return (last_loud + 1) * FRAME_SECONDS
        return None


def poll(what, probe):
    deadline = time.monotonic() + STEP_SECONDS
    while time.monotonic() < deadline:
        found = probe()
        if found is not None:
            return found
        time.sleep(0.02)
    raise Fault(f"no {what} after {STEP_SECONDS} s")


def active_window():
    try:
        window = subprocess.run(["xdotool", "getactivewindow"], capture_output=True, text=True, check=True).stdout
        name = subprocess.run(["xdotool", "getwindowname", window.strip()], capture_output=True, text=True,
                              check=True).stdout
    except subprocess.CalledProcessError:  # no window active, or it just closed
        return None
    return window.strip(), name.rstrip("\n")


class Pupil:
    def __init__(self, recording):
        self.recording = recording
        self.last_window = None
        self.utterances = 0

    def window(self, what, fits):
        """Waits for a new window that `fits` its title to be active."""
        def probe():
            active = active_window()
            return active if active and active[0] != self.last_window and fits(active[1]) else None
        self.last_window = poll(what, probe)[0]

    def main_window(self):
        active = active_window()
        if not active or not active[1].endswith(MAIN_TITLE_END) or active[1] == BOX_TITLE:
            raise Fault(f"the window is not the game's, but {active!r}")
        self.last_window = active[0]

    def press(self, *keys, label=None):
        moment = time.monotonic()
        subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)
        self.recording.update()
        say(f"{self.recording.at(moment):8.2f} s  key {'+'.join(keys)}" + (f"  ({label})" if label else ""))
        return self.recording.at(moment)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)

    def speech_after(self, moment):
        def probe():
            self.recording.update()
            return self.recording.first_loud(moment)
        return poll(f"speech after {moment:.2f} s", probe)

    def heard(self, what, since, start=None):
        """Waits for the sentence said since `since` to end; checks its length."""
        start = self.speech_after(since) if start is None else start
        def probe():
            self.recording.update()
            return self.recording.end_of_speech(start)
        end = poll(f"the end of {what}", probe)
        self.utterances += 1
        say(f"{start:8.2f} s  speech until {end:.2f} s ({end - since:.2f} s after the key): {what}")
        if end - max(start, since) < SHORTEST_SENTENCE:
            raise Fault(f"{what} lasted only {end - max(start, since):.2f} s")
        return start, end

    def cut_short(self, what, since, *keys, label):
        """Presses `keys` once the sentence said since `since` has played a little."""
        start = self.speech_after(since)
        def probe():
            self.recording.update()
            return True if self.recording.seconds() >= start + CUT_AFTER else None
        poll(f"{CUT_AFTER} s of {what}", probe)
        say(f"{start:8.2f} s  speech begins: {what}, cut short")
        return self.press(*keys, label=label)


def start_up(pupil):
    pupil.window("the name box", lambda title: title == BOX_TITLE)
    pupil.heard("the name box", 0)
    pupil.type("Anna")
    key = pupil.press("Return", label="name given")
    for box in range(6):
        pupil.window(f"start-up box {box + 1}", lambda title: title == BOX_TITLE)
        if box in (1, 3):
            key = pupil.cut_short(f"start-up box {box + 1}", key, "Return", label=f"box {box + 1} closed early")
            continue
        pupil.heard(f"start-up box {box + 1}", key)
        key = pupil.press("Return", label=f"box {box + 1} closed")
    pupil.window("the game's window", lambda title: title.endswith(MAIN_TITLE_END) and title != BOX_TITLE)
    return key


def answer(pupil, problem):
    """Types an answer; the verdict follows the second Enter."""
    pupil.main_window()
    pupil.type("1")
    pupil.press("Return")
    pupil.type("1")
    return pupil.press("Return", label=f"answer {problem}")


def repeat_twice(pupil):
    """F5 once heard whole, then F5 cut short by F5: the second is heard whole."""
    key = pupil.press("F5", label="repeat the problem")
    start, end = pupil.heard("the problem again", key)
    whole = end - start
    key = pupil.press("F5", label="repeat the problem")
    key = pupil.cut_short("the problem again", key, "F5", label="repeat cut short by repeat")
    _, end = pupil.heard("the problem again, after a cut", key)
    if end - key < 0.75 * whole:
        raise Fault(f"the problem said after a cut lasted {end - key:.2f} s, heard whole it lasts {whole:.2f} s")


def leave(pupil):
    key = pupil.press("alt+x", label="exit")
    pupil.window("the exit question", lambda title: title == EXIT_TITLE)
    pupil.heard("the exit question", key)
    return pupil.press("alt+s", label="yes, leave")


def whole_competition(pupil, game_pid):
    key = start_up(pupil)
    pupil.heard("the first problem", key)
    for problem in range(1, 11):
        key = answer(pupil, problem)
        if problem in (2, 6):
            key = pupil.cut_short(f"verdict {problem}", key, "Return", label="next problem, verdict cut short")
        else:
            pupil.heard(f"verdict {problem}", key)
            if problem == 4:
                key = pupil.press("F6", label="time left")
                pupil.heard("the time left", key)
            key = pupil.press("Return", label="next problem")
        pupil.heard(f"problem {problem + 1}", key)
        if problem == 3:
            repeat_twice(pupil)
    end(pupil, game_pid, leave(pupil))


def end(pupil, game_pid, key):
    """A beaten record is told in a box before the program ends."""
    ended = poll("the game to end or tell the record", lambda: "ended" if not alive(game_pid) else (
        "record" if (active_window() or ("", ""))[1] == BOX_TITLE else None))
    if ended == "record":
        pupil.heard("the record", key)
        pupil.press("Return", label="record box closed")
        poll("the game to end", lambda: True if not alive(game_pid) else None)
    say(f"{pupil.utterances} utterances heard")


def first_problem(pupil, game_pid):
    """Each kind of sentence once: the boxes, a problem, a verdict, the exit question."""
    key = start_up(pupil)
    pupil.heard("the first problem", key)
    pupil.heard("verdict 1", answer(pupil, 1))
    pupil.heard("problem 2", pupil.press("Return", label="next problem"))
    end(pupil, game_pid, leave(pupil))


def server_lost(pupil, game_pid, server_pid):
    key = start_up(pupil)
    pupil.heard("the first problem", key)
    key = answer(pupil, 1)
    pupil.heard("verdict 1", key)
    os.kill(server_pid, signal.SIGKILL)
    say(f"{pupil.recording.seconds():8.2f} s  sound server killed")
    # The game notices at once, or at the next sentence; the repeat key asks
    # for one and does nothing once the box is open.
    pupil.press("F5", label="repeat the problem")
    pupil.window("the box telling the voice is lost", lambda title: title == BOX_TITLE)
    pupil.press("Return", label="box closed")
    # The game goes on, silent, and tells nothing more.
    pupil.window("the game's window", lambda title: title.endswith(MAIN_TITLE_END) and title != BOX_TITLE)
    pupil.press("Return", label="next problem")
    for problem in range(2, 5):
        answer(pupil, problem)
        pupil.main_window()
        pupil.press("Return", label="next problem")
    pupil.press("F6", label="time left")
    pupil.main_window()
    pupil.press("alt+x", label="exit")
    pupil.window("the exit question", lambda title: title == EXIT_TITLE)
    pupil.press("alt+s", label="yes, leave")
    poll("the game to end", lambda: True if not alive(game_pid) else (
        pupil.press("Return", label="record box closed") and None
        if (active_window() or ("", ""))[1] == BOX_TITLE else None))


def main():
    case, path, rate, game_pid, server_pid = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), \
        int(sys.argv[5])
    pupil = Pupil(Recording(path, rate))
    try:
        if case == "lost":
            server_lost(pupil, game_pid, server_pid)
        elif case == "first":
            first_problem(pupil, game_pid)
        else:
            whole_competition(pupil, game_pid)
    except Fault as fault:
        say(f"FAIL: {fault}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
