"""Drives the real Glyphwright program from outside, as a person would: mouse and keyboard
through xdotool, what is shown through the accessibility tree (AT-SPI) and screenshots."""
import os
import shutil
import signal
import subprocess
import tempfile
import time

import pyatspi

BINARY = os.environ["GLYPHWRIGHT_BINARY"]
LOGS = os.environ.get("GLYPHWRIGHT_E2E_LOGS", tempfile.gettempdir())
TITLE = "8x8 ROM Glyphwright Editor"


def wait_until(check, timeout=10.0, what="condition"):
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        try:
            last = check()
            if last:
                return last
        except Exception as error:  # the tree changes under us while a window opens
            last = error
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what} (last: {last!r})")


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)


def key(*keys):
    # The X server queues the events in order; whoever depends on their effect waits for it.
    for k in keys:
        xdotool("key", "--clearmodifiers", k)


def type_text(text):
    xdotool("type", "--clearmodifiers", "--delay", "5", text)


def walk(node, depth=0):
    """Every accessible below node, depth first."""
    for child in node:
        if child is None:
            continue
        yield child
        if depth < 8:
            yield from walk(child, depth + 1)


def screen_pixels(x, y, width, height):
    """Colours of a screen rectangle, as '#RRGGBB' rows, from a screenshot of the whole screen."""
    shot = subprocess.run(
        ["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage", "-depth", "8",
         "txt:-"],
        check=True, capture_output=True, text=True).stdout
    return image_rows(shot, width, height)


def image_rows(txt, width, height):
    rows = [[None] * width for _ in range(height)]
    for line in txt.splitlines():
        if line.startswith("#") or ":" not in line:
            continue
        position, rest = line.split(":", 1)
        px, py = (int(v) for v in position.split(","))
        colour = rest.split("#", 1)[1].split()[0][:6].upper()
        rows[py][px] = "#" + colour
    return rows


def file_pixels(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          capture_output=True, text=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    txt = subprocess.run(["convert", path, "-depth", "8", "txt:-"], check=True, capture_output=True,
                         text=True).stdout
    return image_rows(txt, width, height)


class Program:
    """One run of the program in its own folder, with stand-ins for the viewer and the system
    information tool first on PATH; each records its arguments."""

    def __init__(self, test_name, folder, tools=("xdg-open",), env=None, args=()):
        self.folder = folder
        self.test_name = test_name
        bin_dir = os.path.join(folder, "bin")
        os.makedirs(bin_dir, exist_ok=True)
        self.launched = os.path.join(folder, "launched.txt")
        for tool in tools:
            script = os.path.join(bin_dir, tool)
            with open(script, "w") as out:
                out.write(f'#!/bin/sh\necho "{tool} $*" >> "{self.launched}"\n')
            os.chmod(script, 0o755)
        settings = dict(os.environ)
        settings.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
                        HOME=os.path.join(folder, "home"), XDG_RUNTIME_DIR=os.path.join(folder, "run"),
                        PATH=bin_dir + ":/usr/bin:/bin")
        # Extra settings for this run, e.g. QT_QPA_PLATFORMTHEME and XDG_CONFIG_HOME for a theme.
        settings.update(env or {})
        os.makedirs(settings["HOME"], exist_ok=True)
        os.makedirs(settings["XDG_RUNTIME_DIR"], mode=0o700, exist_ok=True)
        self.log_path = os.path.join(folder, "program.log")
        self.log = open(self.log_path, "w")
        self.process = subprocess.Popen([BINARY, *args], cwd=folder, env=settings, stdout=self.log,
                                        stderr=subprocess.STDOUT)
        self.app = wait_until(self._find_app, 20, "the program on the accessibility bus")
        self.window = wait_until(lambda: self.top_level(TITLE), 10, "the main window")
        self.cells = {}
        self.squares = {}
        self.labels = {}
        self.buttons = {}
        self.popups = []
        self._index_controls()
        # Keys go to the active window only: the window manager must have activated it.
        self.wait_active()

    def _find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == self.process.pid:
                return app
        return None

    def top_level(self, title_start):
        """The shown top-level window whose title starts so (a closed dialog may live on hidden)."""
        for window in self.app:
            if (window is not None and window.name.startswith(title_start)
                    and window.getState().contains(pyatspi.STATE_SHOWING)):
                return window
        return None

    def _index_controls(self):
        for node in walk(self.window):
            role, name, description = node.getRoleName(), node.name, node.description
            if description.startswith("Char: "):
                self.cells[int(description.rsplit(" / ", 2)[1])] = node
            elif name.startswith("Row ") and ", column " in name:
                row, column = name.split(":")[0][4:].split(", column ")
                self.squares[(int(row), int(column))] = node
            elif role == "push button":
                self.buttons[name] = node
            elif role == "label" and description:
                self.labels[description] = node
            elif role == "popup menu":
                self.popups.append(node)
        assert len(self.cells) == 256, len(self.cells)
        assert len(self.squares) == 64, len(self.squares)

    # What a person sees.
    def title(self):
        return self.window.name

    def is_active(self):
        return self.window.getState().contains(pyatspi.STATE_ACTIVE)

    def wait_active(self, timeout=10):
        """Waits until the main window is the active one again (after a dialog closed, say)."""
        wait_until(self.is_active, timeout, "the main window to be active")

    def open_popup(self):
        """The menu popup that is shown now, if any."""
        for popup in self.popups:
            if popup.getState().contains(pyatspi.STATE_SHOWING):
                return popup
        return None

    def row_values(self, row):
        return (self.labels[f"Row {row}, decimal"].name, self.labels[f"Row {row}, hexadecimal"].name)

    def selected_label(self):
        return self.labels["Selected character"].name

    def square_is_ink(self, row, column):
        return self.squares[(row, column)].name.endswith(": ink")

    @staticmethod
    def extents(node):
        return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)

    def cell_picture(self, code):
        """The 16 x 16 picture inside a palette cell's 1-pixel border, as seen on screen."""
        x, y, _, _ = self.extents(self.cells[code])
        return screen_pixels(x + 1, y + 1, 16, 16)

    # What a person does.
    def click(self, node):
        x, y, width, height = self.extents(node)
        xdotool("mousemove", x + width // 2, y + height // 2, "click", "1")

    def click_cell(self, code):
        self.click(self.cells[code])

    def click_square(self, row, column):
        self.click(self.squares[(row, column)])

    def stroke(self, squares):
        """Presses the button on the first square, moves over the others with it held, and
        releases it on the last."""
        def centre(square):
            x, y, width, height = self.extents(self.squares[square])
            return x + width // 2, y + height // 2
        xdotool("mousemove", *centre(squares[0]), "mousedown", "1")
        for square in squares[1:]:
            xdotool("mousemove", *centre(square))
        xdotool("mouseup", "1")

    def menu(self, menu_key, item_key):
        self.wait_active()
        key(f"alt+{menu_key}")
        wait_until(self.open_popup, 10, f"the menu of alt+{menu_key} to open")
        key(item_key)
        # Exit ends the program along with its menu.
        wait_until(lambda: self.process.poll() is not None or self.open_popup() is None, 10,
                   f"the menu to close after {item_key}")

    @staticmethod
    def focused_in(window, role):
        """The control of this role that holds the keyboard focus in window, if any."""
        for node in walk(window):
            if node.getRoleName() == role and node.getState().contains(pyatspi.STATE_FOCUSED):
                return node
        return None

    def answer_file_dialog(self, title, path):
        dialog = wait_until(lambda: self.top_level(title), 10, f"the dialog '{title}'")
        # Typing before the name field has the focus would send the keys elsewhere.
        wait_until(lambda: self.focused_in(dialog, "text"), 10, "the file name field to take the focus")
        key("ctrl+a")
        type_text(path)
        key("Return")
        wait_until(lambda: self.top_level(title) is None, 10, f"the dialog '{title}' to close")

    def message_box_text(self, title="Glyphwright"):
        """The texts of the message box with this title that is open now."""
        def find():
            for window in self.app:
                if (window is None or window.name != title
                        or not window.getState().contains(pyatspi.STATE_SHOWING)):
                    continue
                texts = [n.name for n in walk(window) if n.getRoleName() == "label" and n.name]
                if texts and self.focused_in(window, "push button"):
                    return texts
            return None
        # Shown and holding the focus, so that Return answers this box.
        return wait_until(find, 10, f"a message box '{title}'")

    def launched_lines(self):
        if not os.path.exists(self.launched):
            return []
        with open(self.launched) as lines:
            return [line.rstrip("\n") for line in lines]

    def quit(self):
        self.menu("f", "x")
        self.process.wait(10)

    def close(self, failed):
        if failed:
            shot = os.path.join(LOGS, f"{self.test_name}.png")
            subprocess.run(["import", "-window", "root", shot], check=False)
            print(f"\nscreenshot: {shot}")
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.log.close()
        if failed:
            with open(self.log_path) as log:
                print(f"program output:\n{log.read()}")


def fresh_folder():
    return tempfile.mkdtemp(prefix="glyphwright-e2e-")


def remove(folder):
    shutil.rmtree(folder, ignore_errors=True)
