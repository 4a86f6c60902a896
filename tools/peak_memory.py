#!/usr/bin/env python3
"""Runs a command and writes its peak resident memory and its wall time.

    peak_memory.py OUT COMMAND [ARGUMENT...]

writes "KIBIBYTES MILLISECONDS" into OUT and exits with the command's status.
It is a small process of its own on purpose: a child started straight from a
large process (a test, the bench) carries that process's peak over into its
own figure.
"""
import os
import sys
import time

out = sys.argv[1]
started = time.monotonic()
pid = os.fork()
if pid == 0:
    try:
        os.execv(sys.argv[2], sys.argv[2:])
    finally:
        os._exit(127)
_, status, usage = os.wait4(pid, 0)
elapsed = (time.monotonic() - started) * 1000
with open(out, "w") as figures:
    figures.write(f"{usage.ru_maxrss} {elapsed:.1f}\n")
sys.exit(os.waitstatus_to_exitcode(status) % 256)
