"""A blind pupil who plays a whole competition of the real game with Orca.

Listens to what Orca says (the sentences it hands to speech-dispatcher, read
back from speech-dispatcher's log) and presses keys as a pupil would
(xdotool): answers the name box, closes the start-up boxes, solves ten
problems computed only from the sentence Orca said (two of them wrong on
purpose), asks the time left once, and leaves through the exit question.
Checks that every problem, every verdict with its counters, the time, the
exit question and the record were said. Prints what Orca said, with the keys
pressed; exits non-zero with the reason at the first thing that is missing.

With "allenamento", the game is a practice: its own instruction and its
caption are said, one problem is solved, the time asked is no limit at all,
and the pupil leaves without a record box.

Usage: orca_pupil.py SPEECH_DISPATCHER_LOG GAME_PID [allenamento UTTERANCES_BEFORE]
"""

import html
import os
import re
import subprocess
import sys
import time
from fractions import Fraction

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "desktop"))
from pupil_process import Fault, alive, say  # noqa: E402

STEP_SECONDS = 40
PROBLEMS = 10
WRONG_ON_PURPOSE = (3, 7)

UNITS = {"un": 1, "uno": 1, "due": 2, "tre": 3, "quattro": 4, "cinque": 5, "sei": 6, "sette": 7, "otto": 8,
         "nove": 9, "dieci": 10, "undici": 11, "dodici": 12}
# How a teacher names one part of a whole, by denominator.
PARTS = {"mezz": 2, "terz": 3, "quart": 4, "quint": 5, "sest": 6, "settim": 7, "ottav": 8, "non": 9, "decim": 10}
QUEUED = re.compile(r"Queueing message \|(.*?)\| with priority", re.S)
QUESTION = re.compile(r"Quanto fa (.+) più (.+)\?")
VERDICT = re.compile(r"(Esatto!.*?|Sbagliato, il risultato è .*?)[.!]? Risposte esatte: (\d+), risposte errate: (\d+), "
                     r"risposte totali: (\d+)\.")
TIME_LEFT = re.compile(r"Manca(no)? (\w+) (minut|second)")
NO_TIME_LIMIT = re.compile(r"In allenamento non c'è limite di tempo")


class Orca:
    """What Orca has said so far, as speech-dispatcher received it."""

    def __init__(self, log):
        self.log = log

    def said(self):
        try:
            with open(self.log, encoding="utf-8", errors="replace") as log:
                text = log.read()
        except FileNotFoundError:
            return []
        return [html.unescape(re.sub(r"<[^>]*>", "", message)).strip() for message in QUEUED.findall(text)]

    def wait_for(self, what, pattern, since):
        """The first utterance from index `since` on that matches, as (index, match)."""
        deadline = time.monotonic() + STEP_SECONDS
        while time.monotonic() < deadline:
            said = self.said()
            for index in range(since, len(said)):
                found = re.search(pattern, said[index])
                if found:
                    say(f"  Orca: {said[index]}")
                    return index + 1, found
            time.sleep(0.05)
        heard = "\n    ".join(self.said()[since:])
        raise Fault(f"Orca did not say {what} after {STEP_SECONDS} s; since the last key it said:\n    {heard}")


class Pupil:
    def __init__(self, orca):
        self.orca = orca

    def press(self, *keys):
        since = len(self.orca.said())
        say(f"key {' '.join(keys)}")
        subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)
        return since

    def type(self, text):
        since = len(self.orca.said())
        say(f"type {text}")
        subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)
        return since


def number(word):
    if word not in UNITS:
        raise Fault(f"cannot read the number {word!r}")
    return UNITS[word]


def fraction(words):
    """'un settimo', 'tre ottavi', 'due' (a whole number)."""
    parts = words.split()
    if len(parts) == 1:
        return Fraction(number(parts[0]))
    numerator, part = parts
    for stem, denominator in PARTS.items():
        if part[:-1] == stem:
            return Fraction(number(numerator), denominator)
    raise Fault(f"cannot read the fraction {words!r}")


def solve(question):
    total = fraction(question.group(1)) + fraction(question.group(2))
    return total.numerator, total.denominator


def start_up(pupil, orca, since, practice):
    since, _ = orca.wait_for("the name box", r"chiami", since)
    pupil.type("Anna")
    since = pupil.press("Return")
    # The greeting and the rules, each in a box that Orca reads, ending with
    # its OK button; a practice says what it is in one more.
    for box in range(7 if practice else 6):
        if practice and box == 5:
            since, _ = orca.wait_for("the practice's instruction", r"Questo è un allenamento", since)
        since, _ = orca.wait_for(f"the OK button of start-up box {box + 1}", r"^OK", since)
        since = pupil.press("Return")
    if practice:
        since, _ = orca.wait_for("the practice's caption", r"Allenamento: senza tempo", since)
    return since


def play(pupil, orca, since, problems=PROBLEMS, time_left=TIME_LEFT):
    right = wrong = 0
    since, question = orca.wait_for("the first problem", QUESTION, since)
    for problem in range(1, problems + 1):
        numerator, denominator = solve(question)
        if problem in WRONG_ON_PURPOSE:
            numerator += 1
        pupil.type(str(numerator))
        since = pupil.press("Return")
        since, _ = orca.wait_for("the denominator box", r"Denominatore del risultato", since)
        pupil.type(str(denominator))
        since = pupil.press("Return")
        since, verdict = orca.wait_for(f"the verdict of problem {problem}", VERDICT, since)
        if problem in WRONG_ON_PURPOSE:
            wrong += 1
        else:
            right += 1
        counters = tuple(int(verdict.group(n)) for n in (2, 3, 4))
        if counters != (right, wrong, right + wrong) or verdict.group(1).startswith("Esatto") != (
                problem not in WRONG_ON_PURPOSE):
            raise Fault(f"problem {problem} answered {numerator}/{denominator} got {verdict.group(0)!r}")
        if problem == min(5, problems):
            since = pupil.press("F6")
            since, _ = orca.wait_for("the time left", time_left, since)
        if problem == problems:
            break
        # The next problem must be said before anything is typed. (Alt+N is
        # left to the window's own tests: with Orca running, it sometimes
        # opens the menu bar instead of pressing the button.)
        since = pupil.press("Return")
        since, question = orca.wait_for(f"problem {problem + 1}", QUESTION, since)
    return since, right


def leave(pupil, orca, since, game_pid, practice):
    since = pupil.press("alt+x")
    since, _ = orca.wait_for("the exit question", r"Vuoi veramente lasciarmi", since)
    since = pupil.press("alt+s")
    if not practice:
        since, _ = orca.wait_for("the new record", r"registrato il tuo record", since)
        pupil.press("Return")
    deadline = time.monotonic() + STEP_SECONDS
    while alive(game_pid):
        if time.monotonic() > deadline:
            raise Fault("the game did not end after the exit question")
        time.sleep(0.05)


def main():
    orca = Orca(sys.argv[1])
    pupil = Pupil(orca)
    practice = sys.argv[3:4] == ["allenamento"]
    first = int(sys.argv[4]) if practice else 0
    try:
        since = start_up(pupil, orca, first, practice)
        if practice:
            since, right = play(pupil, orca, since, problems=1, time_left=NO_TIME_LIMIT)
        else:
            since, right = play(pupil, orca, since)
        leave(pupil, orca, since, int(sys.argv[2]), practice)
    except Fault as fault:
        say(f"FAIL: {fault}")
        return 1
    say(f"{'A practice' if practice else 'A competition'} played, {right} right, by ear. Orca said, in order:")
    for utterance in orca.said()[first:]:
        say(f"  | {utterance}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
