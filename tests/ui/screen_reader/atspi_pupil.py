"""A blind pupil's screen reader, played through the AT-SPI bus.

Answers the start-up boxes, reads the window's controls by their accessible
names, solves one problem by ear (the problem boxes' texts), typing on the
keyboard, and reads what the focused control says at each step. Prints a
transcript of what a screen reader would say; exits non-zero with the
reason on the first thing that is not as it should be.
Usage: atspi_pupil.py READY_FILE (made once the client listens to the bus)
"""

import sys
import time
from fractions import Fraction

import pyatspi
from gi.repository import GLib

STEP_SECONDS = 20
# How a teacher names one part of a whole, by denominator.
PARTS = {2: "mezzo", 3: "terzo", 4: "quarto", 5: "quinto", 6: "sesto", 7: "settimo", 8: "ottavo", 9: "nono",
         10: "decimo"}


class Fault(Exception):
    pass


# What the game told on the bus, in order: (event type, source's name, text,
# source). The name is asked at once, which a loaded game may not answer in
# time: the source itself is kept too.
heard = []


def hear(event):
    try:
        source = event.source.name
    except Exception:  # a control already gone
        source = None
    heard.append((event.type, source, event.any_data if isinstance(event.any_data, str) else "", event.source))


def pause(seconds):
    """Waits while the events of the bus are taken in."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        time.sleep(0.01)


def say(line):
    print(line, flush=True)


def wait_for(what, probe):
    """Polls probe() until it gives something, for at most STEP_SECONDS."""
    deadline = time.monotonic() + STEP_SECONDS
    while time.monotonic() < deadline:
        try:
            found = probe()
        except Exception:  # the tree changes under the reader while the game works
            found = None
        if found:
            return found
        pause(0.1)
    raise Fault(f"no {what} after {STEP_SECONDS} s")


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def descendants(accessible):
    for child in children(accessible):
        if child is None:
            continue
        yield child
        yield from descendants(child)


def game():
    desktop = pyatspi.Registry.getDesktop(0)
    return next((app for app in children(desktop) if app is not None and app.name == "quorveno"), None)


def windows(role):
    app = game()
    if not app:
        return []
    return [w for w in children(app)
            if w is not None and w.getRole() == role and w.getState().contains(pyatspi.STATE_SHOWING)]


def text_of(accessible):
    text = accessible.queryText()
    return text.getText(0, text.characterCount)


def focused():
    app = game()
    return next((a for a in descendants(app) if a.getState().contains(pyatspi.STATE_FOCUSED)), None)


def spoken(accessible):
    """What a screen reader says for a control: its name, role and description."""
    parts = [accessible.name, accessible.getRoleName()]
    if accessible.getRole() == pyatspi.ROLE_TEXT:
        parts.append(repr(text_of(accessible)))
    if accessible.description:
        parts.append(accessible.description)
    return ", ".join(parts)


def press(button_name, window):
    button = next(a for a in descendants(window) if a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == button_name)
    button.queryAction().doAction(0)


def type_keys(keys):
    for key in keys:
        pyatspi.Registry.generateKeyboardEvent(ord(key), None, pyatspi.KEY_SYM)
    pyatspi.Registry.generateKeyboardEvent(0xFF0D, None, pyatspi.KEY_SYM)  # Return


def boxes():
    return windows(pyatspi.ROLE_DIALOG) + windows(pyatspi.ROLE_ALERT)


def closed(box):
    try:
        return not box.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:  # gone from the tree
        return True


def close_with_ok(box):
    press("OK", box)
    wait_for("the box to close", lambda: closed(box))


def start_up(name):
    dialog = wait_for("name box", lambda: next((d for d in boxes()
                                                if any(a.getRole() == pyatspi.ROLE_TEXT for a in descendants(d))), None))
    box = next(a for a in descendants(dialog) if a.getRole() == pyatspi.ROLE_TEXT)
    say(f"name box: {spoken(box)}")
    box.queryEditableText().setTextContents(name)
    close_with_ok(dialog)
    # The greeting and the rules, one message box each, until the window alone is left.
    while True:
        frame = next(iter(windows(pyatspi.ROLE_FRAME)), None)
        shown = boxes()
        if frame is not None and not shown:
            return frame
        if shown:
            message = " ".join(a.name.strip() for a in descendants(shown[0])
                               if a.getRole() == pyatspi.ROLE_LABEL and a.name.strip())
            say(f"message box: {message}")
            close_with_ok(shown[0])
        pause(0.1)


def controls(frame):
    return {a.name: a for a in descendants(frame) if a.name}


def expect(condition, fault):
    if not condition:
        raise Fault(fault)


def focus_named(name):
    return wait_for(f"focus on {name!r}", lambda: (lambda f: f if f is not None and f.name == name else None)(focused()))


def play(frame):
    named = controls(frame)
    for name in ("Numeratore della prima frazione", "Denominatore della prima frazione",
                 "Numeratore della seconda frazione", "Denominatore della seconda frazione",
                 "Numeratore del risultato", "Denominatore del risultato", "Nuovo calcolo", "Esci",
                 "Risposte esatte: 0", "Risposte errate: 0", "Risposte totali: 0", "Sfidante: Anna"):
        expect(name in named, f"no control named {name!r}; named: {sorted(named)}")
    unnamed = [a for a in descendants(frame) if a.getRole() == pyatspi.ROLE_TEXT and not a.name]
    expect(not unnamed, f"{len(unnamed)} text boxes without a name (the solution boxes?)")
    say("window: " + "; ".join(spoken(a) for a in descendants(frame)
                               if a.name and a.getRole() != pyatspi.ROLE_MENU_ITEM))

    a, d, c, d2 = (int(text_of(named[n])) for n in (
        "Numeratore della prima frazione", "Denominatore della prima frazione",
        "Numeratore della seconda frazione", "Denominatore della seconda frazione"))
    expect(d == d2, f"the fractions have different denominators {d} and {d2}")
    total = Fraction(a, d) + Fraction(c, d)

    numerator_box = focus_named("Numeratore del risultato")
    say(f"focus: {spoken(numerator_box)}")
    question = numerator_box.description
    expect(question.startswith("Quanto fa ") and question.endswith("?"), f"the problem is not asked: {question!r}")
    if a == 1 and d in PARTS:
        expect(question.startswith(f"Quanto fa un {PARTS[d]} più "), f"{a}/{d} is not asked in {question!r}")

    type_keys(str(total.numerator))
    say(f"focus: {spoken(focus_named('Denominatore del risultato'))}")
    type_keys(str(total.denominator))
    button = focus_named("Nuovo calcolo")
    verdict = button.description
    say(f"focus: {spoken(button)}")
    expect(verdict.startswith("Esatto!") and "Risposte esatte: 1," in verdict,
           f"the right answer {total} got the verdict {verdict!r}")
    counter = controls(frame).get("Risposte esatte: 1")
    expect(counter is not None, "the right answers' counter does not say 1")
    check_what_was_told(counter)


def told(kind, source, fault, control=None):
    """Waits until the bus has brought the event, from the control named
    `source` or from `control` itself: a loaded machine delays it."""
    def came(event):
        return event[0] == kind and (event[1] == source or (control is not None and event[3] == control))
    try:
        wait_for(fault, lambda: any(came(event) for event in heard))
    except Fault:
        raise Fault(fault) from None


def check_what_was_told(counter):
    told("object:property-change:accessible-name", "Risposte esatte: 1",
         "the right answers' counter did not tell its new name", counter)
    told("object:state-changed:focused", "Nuovo calcolo", "the button never told it had the focus")
    leaked = [event for event in heard if event[0].startswith("object:text-changed") and not event[1]]
    expect(not leaked, f"a text box without a name told its text: {leaked}")

    def last(event):
        return max((i for i, seen in enumerate(heard) if seen[:2] == event), default=-1)

    verdict_told = last(("object:property-change:accessible-description", "Nuovo calcolo"))
    focus_told = last(("object:state-changed:focused", "Nuovo calcolo"))
    expect(0 <= verdict_told < focus_told, "the button got the focus before it carried the verdict")


def main(ready_file):
    # The game learns which events a client wants when it starts, and may
    # miss a client that comes while it starts: the listeners come first,
    # then the file tells that the game may be started.
    pyatspi.Registry.registerEventListener(hear, "object:text-changed", "object:state-changed:focused",
                                           "object:property-change:accessible-name",
                                           "object:property-change:accessible-description")
    with open(ready_file, "w"):
        pass
    try:
        play(start_up("Anna"))
    except Fault as fault:
        say(f"FAIL: {fault}")
        say("names and focus told: " + "; ".join(f"{event[0].split(':')[-1]} {event[1]!r}" for event in heard
                                                 if not event[0].startswith("object:text-changed")))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
