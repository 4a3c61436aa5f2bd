"""Crash recovery as a user lives it: type into an opened and into a new document, let an
auto-save pass run, kill the program with SIGKILL, start it again: both documents come back
"(Recovered)" with every character typed before the pass, and saving the recovered opened
document writes its original file. Then a logout: a termination request followed a moment
later by SIGKILL, before any auto-save pass; the typing comes back at the next start.

Run by recovery_e2e.sh inside its own X display and D-Bus session, with a short auto-save
tick."""

import glob
import os
import signal
import subprocess
import sys
import time

import pyatspi

program, work = sys.argv[1], sys.argv[2]
document = os.path.join(work, "letter.tvl")
temp = os.path.join(os.environ["HOME"], "Documents", "Orvani Software", "Backup", "Temp")


program_log = os.path.join(os.environ["HOME"], "program.log")


def fail(message):
    print("recovery: " + message, file=sys.stderr)
    # What the program said, to tell a start that failed from a slow one.
    try:
        with open(program_log, "r", errors="replace") as f:
            print("recovery: the program's output:\n" + f.read()[-4000:], file=sys.stderr)
    except OSError:
        pass
    sys.exit(1)


def start(*args):
    log = open(program_log, "a")
    return subprocess.Popen([program, *args], stdout=log, stderr=subprocess.STDOUT)


def start_seen(args, find):
    """Starts the program and waits until the accessibility registry shows it. On a loaded
    machine a start now and then never reaches the registry; such a start (nothing typed yet) is
    stopped and made once more, and the output of both is kept for a failure."""
    process = start(*args)
    deadline = time.time() + 60
    while time.time() < deadline:
        found = find()
        if found:
            return process, found
        time.sleep(0.2)
    print("recovery: the program did not show in the registry; starting it again",
          file=sys.stderr)
    process.kill()
    process.wait()
    process = start(*args)
    return process, wait_for("the program", find)


def wait_for(what, find, seconds=60.0):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    fail("not found: " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "TarvelLite":
            return app
    return None


def every_text():
    """The documents' texts in every running TarvelLite the registry lists (a killed one may
    linger there for a moment, and answers nothing)."""
    found = []
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "TarvelLite":
            found.extend(texts(app))
    return found


def every_tab_name():
    found = []
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "TarvelLite":
            found.extend(tab_names(app))
    return found


def descendants(node):
    stack = [node]
    while stack:
        current = stack.pop()
        yield current
        try:
            stack.extend(child for child in current if child is not None)
        except Exception:
            pass


def texts(app):
    found = []
    for node in descendants(app):
        try:
            if node.getRoleName() == "text" and node.name == "document":
                t = node.queryText()
                found.append(t.getText(0, t.characterCount))
        except Exception:
            pass
    return found


def tab_names(app):
    """The names of the document windows (their tabs, or their frames in the document area)."""
    names = []
    for node in descendants(app):
        try:
            if node.getRoleName() in ("page tab", "frame", "internal frame") and node.name:
                names.append(node.name)
        except Exception:
            pass
    return names


def xdo(*args):
    subprocess.run(["xdotool", *args], check=False)


def focus_main_window():
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "TarvelLite"],
                         capture_output=True, text=True).stdout.split()
    if ids:
        xdo("windowfocus", "--sync", ids[-1])
    time.sleep(0.3)


# First run: an opened document and a new one, both typed into.
first, app = start_seen([document], application)
wait_for("the opened document", lambda: any("Dear" in t for t in texts(app)))
time.sleep(2)  # past the splash
focus_main_window()
xdo("key", "--delay", "60", "ctrl+End")
xdo("type", "--delay", "40", " typed before the crash")
xdo("key", "ctrl+n")
time.sleep(0.5)
xdo("type", "--delay", "40", "a new document")
wait_for("the typed text", lambda: any("a new document" in t for t in texts(app)))
# Several auto-save passes.
wait_for("two recovery files", lambda: len(glob.glob(os.path.join(temp, "~tv*.tmp"))) >= 2)


def copies_hold_the_typing():
    held = b""
    for name in glob.glob(os.path.join(temp, "~tv*.tmp")):
        try:
            with open(name, "rb") as f:
                held += f.read()
        except OSError:
            pass
    return b"typed before the crash" in held and b"a new document" in held


# A loaded machine may need more than one pass before every keystroke is in the copies.
deadline = time.time() + 60
while time.time() < deadline and not copies_hold_the_typing():
    time.sleep(0.3)
time.sleep(1.5)
first.send_signal(signal.SIGKILL)
first.wait()

# Second run: both come back.
second, app = start_seen([], lambda: (lambda a: a if a and tab_names(a) else None)(
    application()))
names = wait_for("recovered tabs", lambda: (lambda n: n if sum("(Recovered)" in x for x in n) >= 2
                                            else None)(tab_names(app)))
if not any(n.startswith("letter (Recovered).tvl") for n in names):
    fail("tabs: %r" % names)
all_text = texts(app)
if not any("Dear" in t and "typed before the crash" in t for t in all_text):
    fail("the opened document's typing is missing: %r" % all_text)
if not any("a new document" in t for t in all_text):
    fail("the new document's typing is missing: %r" % all_text)

# Saving the recovered document writes its own file.
# The recovered letter's window is brought to the front, and saved.
for node in descendants(app):
    try:
        if node.getRoleName() in ("frame", "internal frame") and node.name.startswith(
                "letter (Recovered)"):
            node.queryComponent().grabFocus()
    except Exception:
        pass
time.sleep(0.5)
focus_main_window()
xdo("key", "ctrl+s")
deadline = time.time() + 10
saved = ""
while time.time() < deadline:
    with open(document, "rb") as f:
        saved = f.read().decode("latin-1")
    if "typed before the crash" in saved:
        break
    time.sleep(0.3)
if "typed before the crash" not in saved:
    fail("saving the recovered document did not write " + document)
# The save is over when the letter's recovery copy is gone too (the untitled one's stays).
wait_for("the saved letter's copy deleted",
         lambda: len(glob.glob(os.path.join(temp, "~tv*.tmp"))) <= 1)
second.send_signal(signal.SIGKILL)
second.wait()

# A logout: the session asks the program to end (SIGTERM) and kills it a few seconds later,
# long before an auto-save pass. What was typed comes back all the same.
third = subprocess.Popen([program, document], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL,
                         env=dict(os.environ, TARVELLITE_AUTOSAVE_TICK_MS="600000"))
wait_for("the saved letter", lambda: any("typed before the crash" in t for t in every_text()))
time.sleep(2)
focus_main_window()
xdo("key", "--delay", "60", "ctrl+End")
xdo("type", "--delay", "40", " typed before the logout")
wait_for("the typing", lambda: any("typed before the logout" in t for t in every_text()))


def copy_with_the_typing():
    for name in glob.glob(os.path.join(temp, "~tv*.tmp")):
        with open(name, "rb") as f:
            if b"typed before the logout" in f.read():
                return name
    return None


if copy_with_the_typing():
    fail("a recovery copy was written before the termination request")
third.send_signal(signal.SIGTERM)
wait_for("a recovery copy written on the termination request", copy_with_the_typing, 20)
time.sleep(1)  # the close question is up
if third.poll() is None:
    third.send_signal(signal.SIGKILL)
third.wait()

fourth = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
wait_for("the letter typed before the logout",
         lambda: any("Dear" in t and "typed before the logout" in t for t in every_text()))
names = every_tab_name()
fourth.send_signal(signal.SIGKILL)
fourth.wait()
if not any(n.startswith("letter (Recovered).tvl") for n in names):
    fail("tabs after the logout: %r" % names)
print("recovery: both documents came back, the recovered one saved to its own file, and the "
      "typing before a logout came back")
