#!/usr/bin/env python3
"""The include-circle check on small trees of its own: it must find planted circles."""
import os
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "include_cycles.py")


def make_tree(root, files):
    for path, text in files.items():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w") as out:
            out.write(text)


def run(files):
    with tempfile.TemporaryDirectory() as root:
        make_tree(root, files)
        done = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
        return done.returncode, done.stdout


def expect(name, files, code, *parts):
    got, out = run(files)
    ok = got == code and all(part in out for part in parts)
    print(("ok   " if ok else "FAIL ") + name + ("" if ok else ": exit %d, %r" % (got, out)))
    return ok


CASES = [
    ("one direction is clean", {
        "src/app/dialog.cpp": '#include "app/dialog.h"\n#include "ui/clicks.h"\n',
        "src/app/dialog.h": "",
        "src/ui/clicks.cpp": '#include "ui/clicks.h"\n#include "state/data.h"\n',
        "src/ui/clicks.h": "",
        "src/state/data.h": '#include <string>\n',
    }, 0, "no include circle"),
    # The circle runs through the pairs: neither header includes the other.
    ("a circle through .h/.cpp pairs", {
        "src/app/dialog.h": "",
        "src/app/dialog.cpp": '#include "app/dialog.h"\n#include "ui/clicks.h"\n',
        "src/ui/clicks.h": "",
        "src/ui/clicks.cpp": '#include "ui/clicks.h"\n#include "app/dialog.h"\n',
    }, 1, "include circle of 2 files", "src/app/dialog", "src/ui/clicks"),
    ("a longer circle across folders, found from the root", {
        "tools/sim/session.cpp": '#include "tools/sim/commands.h"\n',
        "tools/sim/commands.h": "",
        "tools/sim/commands.cpp": '#include "tools/sim/lint.h"\n',
        "tools/sim/lint.h": "",
        "tools/sim/lint.cpp": '#include "tools/sim/session.h"\n',
        "tools/sim/session.h": "",
        "board/board.h": "",
    }, 1, "include circle of 3 files", "tools/sim/session -> "),
    ("an include beside the includer counts", {
        "roduru/a.h": '#include "b.h"\n',
        "roduru/b.h": '#include "a.h"\n',
    }, 1, "include circle of 2 files"),
    ("includes that name no file of the tree are no edge", {
        "src/a/x.h": '#include "gtest/gtest.h"\n#include "missing/y.h"\n',
        "src/a/x.cpp": '#include "a/x.h"\n',
    }, 0, "no include circle"),
]


def main():
    results = [expect(*case) for case in CASES]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
