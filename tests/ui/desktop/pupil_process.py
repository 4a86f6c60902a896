"""What the scripted pupils of the real-client tests share: how a step
fails, how it is written down, and whether the game is still running."""

import os


class Fault(Exception):
    pass


def say(line):
    print(line, flush=True)


def alive(pid):
    # A child of the test's shell that has ended stays as a zombie until reaped.
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().split(") ")[-1][0] != "Z"
    except (FileNotFoundError, ProcessLookupError):  # reaped, even mid-read
        return False
