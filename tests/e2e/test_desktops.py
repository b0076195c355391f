"""End-to-end scenarios on real desktop settings: a dark colour scheme and a large font set
through qt6ct, the arrow keys, what a screen reader is told, and the clipboard's text."""
import os
import subprocess
import unittest

import pyatspi
from gi.repository import GLib

from driver import key, screen_pixels, wait_until, walk
from test_glyphwright import BLACK, CAPITAL_A, GREEN, WHITE, Scenario, expected_picture

QT6CT_PLUGIN = "/usr/lib/x86_64-linux-gnu/qt6/plugins/platformthemes/libqt6ct.so"
DARKER = "/usr/share/qt6ct/colors/darker.conf"
DARK_WINDOW = "#222020"  # the darker scheme's window colour


def luminance(colour):
    def linear(value):
        value /= 255
        return value / 12.92 if value <= 0.03928 else ((value + 0.055) / 1.055) ** 2.4
    r, g, b = (int(colour[i:i + 2], 16) for i in (1, 3, 5))
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def contrast(a, b):
    la, lb = luminance(a), luminance(b)
    return (max(la, lb) + 0.05) / (min(la, lb) + 0.05)


def intersects(a, b):
    ax, ay, aw, ah = a
    bx, by, bw, bh = b
    return ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah


class DesktopScenario(Scenario):
    def start_with_qt6ct(self, settings):
        """Starts the program under qt6ct, configured in a fresh XDG_CONFIG_HOME."""
        if not os.path.exists(QT6CT_PLUGIN) or not os.path.exists(DARKER):
            self.skipTest("qt6ct is not installed (scripts/test.sh installs it)")
        config = os.path.join(self.folder, "config")
        os.makedirs(os.path.join(config, "qt6ct"), exist_ok=True)
        with open(os.path.join(config, "qt6ct", "qt6ct.conf"), "w") as conf:
            conf.write(settings)
        saved = {name: os.environ.get(name) for name in ("XDG_CONFIG_HOME", "QT_QPA_PLATFORMTHEME")}
        os.environ.update(XDG_CONFIG_HOME=config, QT_QPA_PLATFORMTHEME="qt6ct")
        try:
            return self.start()
        finally:
            for name, value in saved.items():
                if value is None:
                    os.environ.pop(name, None)
                else:
                    os.environ[name] = value

    def shoot(self, program, name):
        """A picture of the window for the record, beside the logs."""
        x, y, width, height = program.extents(program.window)
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                        os.path.join(self.logs(), name)], check=True)

    @staticmethod
    def logs():
        folder = os.environ.get("GLYPHWRIGHT_E2E_LOGS", "/tmp")
        os.makedirs(folder, exist_ok=True)
        return folder

    def preview(self, program):
        return next(node for node in walk(program.window)
                    if node.name == "Preview" and node.getRoleName() == "image")

    def picture_of(self, node):
        x, y, _, _ = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return screen_pixels(x + 1, y + 1, 16, 16)


class TestDarkScheme(DesktopScenario):
    def test_applied_glyph_shows_black_on_white(self):
        program = self.start_with_qt6ct(
            f"[Appearance]\ncolor_scheme_path={DARKER}\ncustom_palette=true\nstyle=Fusion\n")
        x, y, _, _ = program.extents(program.cells[0])
        # The gap between two cells shows the window: the scheme is in force.
        wait_until(lambda: screen_pixels(x + 18, y + 9, 1, 1) == [[DARK_WINDOW]], 10, "the dark window")

        program.click_cell(65)
        wait_until(lambda: program.selected_label() == "Char: A / 65 / 0x41", 5, "character 65 selected")
        self.draw(program, CAPITAL_A)
        program.click(program.buttons["Apply"])
        wait_until(lambda: program.cell_picture(65) == expected_picture(CAPITAL_A, GREEN), 5, "the A in cell 65")
        self.assertEqual(self.picture_of(self.preview(program)), expected_picture(CAPITAL_A, WHITE))
        program.click_cell(66)
        wait_until(lambda: program.cell_picture(65) == expected_picture(CAPITAL_A, WHITE), 5,
                   "the A, black on white, in the unselected cell")

        # Borders and grid lines stand out from the paper, the ink and the window.
        cx, cy, _, _ = program.extents(program.cells[65])
        border = screen_pixels(cx, cy + 9, 1, 1)[0][0]
        for neighbour in (WHITE, GREEN, DARK_WINDOW):
            self.assertGreaterEqual(contrast(border, neighbour), 3.0, (border, neighbour))
        program.click_square(0, 0)
        wait_until(lambda: program.square_is_ink(0, 0), 5, "square 0, 0 inked")
        sx, sy, width, _ = program.extents(program.squares[(0, 0)])
        line = screen_pixels(sx + width - 1, sy + 8, 1, 1)[0][0]
        # The lines are all that tells two squares apart: 3:1 (WCAG 2.1, 1.4.11).
        for neighbour in (WHITE, BLACK):
            self.assertGreaterEqual(contrast(line, neighbour), 3.0, (line, neighbour))
        self.shoot(program, "window-dark.png")


class TestLargeFont(DesktopScenario):
    FONT = '"DejaVu Sans,12,-1,5,400,0,0,0,0,0,0,0,0,0,0,1"'

    def menu_width(self, program):
        item = next(node for node in walk(program.window)
                    if node.getRoleName() == "menu item" and node.name == "File")
        return program.extents(item)[2]

    def test_labels_keep_apart_at_twelve_points(self):
        default_width = self.menu_width(self.start())
        self.programs.pop().close(False)
        program = self.start_with_qt6ct(
            f"[Appearance]\nstyle=Fusion\n[Fonts]\ngeneral={self.FONT}\nfixed={self.FONT}\n")
        # The menu follows the desktop's font: the larger font is in force.
        self.assertGreater(self.menu_width(program), default_width)

        program.click(program.buttons["Invert"])  # the widest decimal values, 255
        wait_until(lambda: program.row_values(7) == ("255", "0xFF"), 5, "inverted rows")
        program.click_square(0, 2)
        program.click_square(0, 6)
        wait_until(lambda: program.row_values(0) == ("221", "0xDD"), 5, "row 0 at 0xDD")

        panel = program.extents(program.buttons["Apply"].parent)
        labels = [node for node in walk(program.window)
                  if node.getRoleName() == "label" and node.name
                  and intersects(program.extents(node), panel)]
        self.assertEqual(len(labels), 33, [label.name for label in labels])
        shot = screen_pixels(*panel)
        grid = program.extents(program.squares[(0, 0)].parent)
        texts = {}
        for label in labels:
            box = program.extents(label)
            text = self.ink_box(shot, panel, box, grid)
            self.assertIsNotNone(text, label.name)
            # Clipped text runs into the label's edge on the side it overflows: the left for the
            # right-aligned row values, the right for the others.
            x, y, width, height = text
            self.assertGreater(y, box[1], label.name)
            self.assertLess(y + height, box[1] + box[3], label.name)
            if label.description.startswith("Row "):
                self.assertGreater(x, box[0], label.name)
            else:
                self.assertLess(x + width, box[0] + box[2], label.name)
            self.assertFalse(intersects(text, grid), label.name)
            texts[label] = text
        for label, text in texts.items():
            for other, other_text in texts.items():
                if other is not label:
                    self.assertFalse(intersects(text, other_text), (label.name, other.name))
        self.shoot(program, "window-large-font.png")

    @staticmethod
    def ink_box(shot, panel, box, grid):
        """The bounding box of what a label draws: every pixel unlike its background, outside
        the grid (which the labels beside and above it overlap by a pixel)."""
        px, py, pw, ph = panel
        x, y, width, height = box
        pixels = [(cx, cy, shot[cy - py][cx - px])
                  for cy in range(max(y, py), min(y + height, py + ph))
                  for cx in range(max(x, px), min(x + width, px + pw))
                  if not intersects((cx, cy, 1, 1), grid)]
        colours = [colour for _, _, colour in pixels]
        background = max(set(colours), key=colours.count)
        ink = [(cx, cy) for cx, cy, colour in pixels if colour != background]
        if not ink:
            return None
        left, top = min(cx for cx, _ in ink), min(cy for _, cy in ink)
        right, bottom = max(cx for cx, _ in ink), max(cy for _, cy in ink)
        return (left, top, right - left + 1, bottom - top + 1)


class FocusEvents:
    """The focus changes a screen reader is sent, as (name, focused): it reads out the name of
    what takes the focus. (Qt 6.4 does not pass on changes of the selected state as events.)"""

    def __init__(self):
        self.seen = []
        pyatspi.Registry.registerEventListener(self._record, "object:state-changed:focused")

    def _record(self, event):
        self.seen.append((event.source.name, bool(event.detail1)))

    def received(self):
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass
        return self.seen

    def close(self):
        pyatspi.Registry.deregisterEventListener(self._record, "object:state-changed:focused")


class TestKeyboardAndScreenReader(DesktopScenario):
    def selected(self, program, code):
        return program.cells[code].getState().contains(pyatspi.STATE_SELECTED)

    def test_arrows_select_and_cells_say_what_they_are(self):
        # Listening before the program starts: it sends only events someone listens to.
        events = FocusEvents()
        self.addCleanup(events.close)
        program = self.start()
        cell = program.cells[65]
        self.assertEqual(cell.getRoleName(), "list item")
        self.assertEqual(cell.name, "A, 65, 0x41")
        self.assertTrue(cell.getState().contains(pyatspi.STATE_SELECTABLE))
        self.assertTrue(self.selected(program, 0))
        self.assertFalse(self.selected(program, 65))

        program.click_cell(29)
        wait_until(lambda: self.selected(program, 29), 5, "cell 29 selected")
        key("Right")
        announced = [("., 29, 0x1D", False), ("., 30, 0x1E", True)]
        wait_until(lambda: events.received()[-2:] == announced, 5, "the screen reader to be told")
        self.assertTrue(self.selected(program, 30))
        self.assertFalse(self.selected(program, 29))
        wait_until(lambda: program.selected_label() == "Char: . / 30 / 0x1E", 5, "Right to cell 30")
        key("Down")
        wait_until(lambda: program.selected_label() == "Char: < / 60 / 0x3C", 5, "Down to cell 60")
        wait_until(lambda: self.selected(program, 60) and not self.selected(program, 29), 5,
                   "the selected state to follow")
        program.click_cell(255)
        wait_until(lambda: self.selected(program, 255), 5, "cell 255 selected")
        key("Right", "Down")
        key("Up")
        wait_until(lambda: program.selected_label() == "Char: . / 225 / 0xE1", 5, "Up to cell 225")

        program.click_square(7, 7)
        wait_until(lambda: program.square_is_ink(7, 7), 5, "square 7, 7 inked")
        key("Down", "Right", "Left", "Up", "space")
        wait_until(lambda: program.square_is_ink(6, 6), 5, "space on the square the arrows reached")
        self.assertEqual(program.row_values(6), ("2", "0x02"))

    def test_copy_puts_bytes_as_text(self):
        program = self.start()
        program.click_cell(65)
        self.draw(program, CAPITAL_A)
        key("alt+c")
        text = wait_until(lambda: subprocess.run(
            ["xclip", "-selection", "clipboard", "-o"], capture_output=True, text=True).stdout,
            5, "text on the clipboard")
        self.assertEqual(text, "0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00")


if __name__ == "__main__":
    unittest.main()
