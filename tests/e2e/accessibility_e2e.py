"""The running program as assistive technology sees it: controls found by their names over
AT-SPI, pressed through their actions, and the document's text read back.

Run by accessibility_e2e.sh inside its own X display and D-Bus session."""

import subprocess
import sys
import time

import pyatspi


def fail(message):
    print("accessibility: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds=20.0):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    fail("not found: " + what)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "TarvelLite":
            return app
    return None


def descendants(node):
    stack = [node]
    while stack:
        current = stack.pop()
        yield current
        try:
            stack.extend(child for child in current if child is not None)
        except Exception:
            pass


def find(root, role, name):
    for node in descendants(root):
        try:
            if node.getRoleName() == role and node.name == name:
                return node
        except Exception:
            pass
    return None


def find_control(root, name):
    """A button of any kind (plain, toggle, split) or a check box called `name` that shows."""
    for node in descendants(root):
        try:
            role = node.getRoleName()
            if node.name == name and ("button" in role or role == "check box") and \
                    node.getState().contains(pyatspi.STATE_SHOWING):
                return node
        except Exception:
            pass
    return None


def press(node):
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "Press", "toggle", "Toggle"):
            action.doAction(i)
            return
    action.doAction(0)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


app = wait_for("the program on the accessibility bus", application)
frame = wait_for("main window", lambda: next(
    (n for n in app if n is not None and n.getRoleName() == "frame"), None))

# The panes and status panes by their captions.
for role, name in [("frame", "On Screen Keyboard"), ("frame", "Folder"),
                   ("frame", "Find / Replace"), ("frame", "Spell Checker"),
                   ("status bar", "Status bar"), ("label", "Caps"), ("label", "Ins"),
                   ("slider", "Zoom Slider"), ("push button", "Zoom")]:
    wait_for(role + " '" + name + "'", lambda: find(app, role, name))

# The window as wide as the screen: the ribbon folds a panel that does not fit into one button,
# whose elements then show in a pop-up window of their own.
main_window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "TarvelLite"],
                             capture_output=True, text=True).stdout.split()
if main_window:
    subprocess.run(["xdotool", "windowsize", main_window[-1], "1280", "860"], check=False)

# The ribbon: the application button, the Home panels' buttons (a panel that does not fit the
# window is one button under its title) by their captions.
for name in ["Main Menu Button", "Paste", "Cut", "Picture", "Dictionary", "Keyboard",
             "Utility", "Style"]:
    wait_for("ribbon button '" + name + "'", lambda: find_control(app, name))

# The title names the document before the program.
wait_for("title with the document", lambda: frame.name == "TarvelLite1 - TarvelLite")

# A new document through its command, and text typed into it read back.
press(wait_for("New", lambda: find(app, "push button", "New")))
wait_for("title of the new document", lambda: frame.name == "TarvelLite2 - TarvelLite")
window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "TarvelLite2"],
                        capture_output=True, text=True).stdout.split()
if window:
    subprocess.run(["xdotool", "windowfocus", "--sync", window[-1]], check=False)
time.sleep(0.3)
subprocess.run(["xdotool", "type", "--delay", "40", "hello world"], check=True)


def typed_text():
    for node in descendants(frame):
        try:
            if node.getRoleName() == "text" and node.name == "document":
                text = node.queryText()
                content = text.getText(0, text.characterCount)
                if "hello world" in content:
                    return content
        except Exception:
            pass
    return None


wait_for("the typed text in the document", typed_text)
wait_for("modified title", lambda: frame.name == "TarvelLite2* - TarvelLite")

# The keyboard toggle hides and shows its pane.
keyboard = find(app, "frame", "On Screen Keyboard")
toggle = wait_for("Keyboard toggle", lambda: find_control(app, "Keyboard"))
press(toggle)
wait_for("keyboard pane hidden", lambda: not showing(keyboard) or
         find(app, "frame", "On Screen Keyboard") is None)
press(toggle)
wait_for("keyboard pane shown again",
         lambda: (lambda k: k is not None and showing(k))(find(app, "frame", "On Screen Keyboard")))
print("accessibility: panes, status panes, commands and the document text found by name")
