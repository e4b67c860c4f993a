#!/usr/bin/python3
"""Walks the accessible tree of QuombleV's windows as a screen reader reads it and fails on
every control, table cell or chart without a name.

Run by scripts/test-atspi.sh inside a session bus with the AT-SPI bus and an X server:
    atspi-names.py <program>
The program is started beside its log; the log data, diagrams, About and crashes windows are
opened with their keys (xdotool), as a user without a mouse opens them.
"""
import os
import subprocess
import sys
import time

import pyatspi

# Roles that only hold other objects: nameless is fine while they hold something.
CONTAINERS = {
    pyatspi.ROLE_FILLER,
    pyatspi.ROLE_PANEL,
    pyatspi.ROLE_SCROLL_PANE,
    pyatspi.ROLE_VIEWPORT,
    pyatspi.ROLE_LAYERED_PANE,
    pyatspi.ROLE_PAGE_TAB_LIST,
    pyatspi.ROLE_APPLICATION,
}


def find_app(name, timeout):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    return None


def find_window(app, title, timeout=10):
    end = time.time() + timeout
    while time.time() < end:
        for window in app:
            if window is not None and window.name.startswith(title):
                return window
        time.sleep(0.2)
    return None


def walk(obj, path, problems, counts):
    try:
        role = obj.getRole()
        name = (obj.name or "").strip()
        children = obj.childCount
    except Exception as error:  # an object that went away while walking
        problems.append(f"{path}: unreadable ({error})")
        return
    counts[0] += 1
    here = f"{path}/{obj.getRoleName()}"
    parent = obj.parent
    if (role == pyatspi.ROLE_PANEL and children == 0 and parent is not None
            and parent.getRole() == pyatspi.ROLE_TABLE and obj.getIndexInParent() == 0):
        return  # the toolkit's own corner cell of a table, where its two headers meet
    if not name and (role not in CONTAINERS or children == 0):
        problems.append(f"{here}: no name")
    elif name and not any(c.isalnum() for c in name):
        problems.append(f"{here}: '{name}' says nothing in words")
    if role == pyatspi.ROLE_COLUMN_HEADER and (name.endswith("\u00b0") or name.endswith(" .")):
        problems.append(f"{here}: '{name}' is read with its sort mark")
    if role == pyatspi.ROLE_CHART:
        counts[1] += 1
        if not (obj.description or "").strip():
            problems.append(f"{here} '{name}': no description")
    for i in range(children):
        child = obj.getChildAtIndex(i)
        if child is not None:
            walk(child, f"{here}[{name}]" if name else here, problems, counts)


def keys(title, *names):
    """Presses keys in the window whose title starts with `title`."""
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + title],
                            capture_output=True, text=True).stdout.split()
    if window:
        subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=False)
    subprocess.run(["xdotool", "key", *names], check=True)


def main():
    program = sys.argv[1]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    proc = subprocess.Popen([program], cwd=os.path.dirname(program), env=env)
    problems = []
    try:
        app = find_app("QuombleV", 20)
        if app is None:
            print("atspi-names: QuombleV never appeared on the accessibility bus")
            return 1
        main_window = find_window(app, "QuombleView ")
        if main_window is None:
            print("atspi-names: no main window")
            return 1
        time.sleep(0.5)
        counts = [0, 0]
        walk(main_window, "main window", problems, counts)
        # Each secondary window opened by its key from the main window, walked, closed.
        for label, key, title in (("log data window", "F2", "LogData"),
                                  ("diagrams window", "F3", "Diagrams"),
                                  ("About window", "F1", "About"),
                                  ("crashes window", "F4", "Crashes")):
            keys("QuombleView", key)
            window = find_window(app, title)
            if window is None:
                problems.append(f"{label}: not found")
                continue
            walk(window, label, problems, counts)
            keys(title, "Escape")
            time.sleep(0.5)
        print(f"atspi-names: {counts[0]} objects, {counts[1]} charts")
        for problem in problems:
            print("  " + problem)
        if counts[1] < 6:
            problems.append("fewer than six charts")
            print(f"  only {counts[1]} charts found")
        return 1 if problems else 0
    finally:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()


if __name__ == "__main__":
    sys.exit(main())
