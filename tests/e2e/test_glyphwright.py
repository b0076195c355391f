"""End-to-end scenarios: the real program in a real X server, used as a person uses it."""
import os
import signal
import subprocess
import unittest

from driver import Program, TITLE, file_pixels, fresh_folder, key, remove, screen_pixels, wait_until, walk

CAPITAL_A = [0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00]
WHITE, GREEN, BLACK = "#FFFFFF", "#00FF00", "#000000"
SCENARIO_SECONDS = 120


def expected_picture(glyph, background):
    return [[BLACK if glyph[y // 2] & (0x80 >> (x // 2)) else background for x in range(16)]
            for y in range(16)]


class Scenario(unittest.TestCase):
    def setUp(self):
        self.folder = fresh_folder()
        self.programs = []

        def too_slow(*_):
            raise TimeoutError(f"scenario took longer than {SCENARIO_SECONDS} s")
        signal.signal(signal.SIGALRM, too_slow)
        signal.alarm(SCENARIO_SECONDS)

    def tearDown(self):
        signal.alarm(0)
        result = self._outcome.result
        failed = any(test is self for test, _ in result.errors + result.failures)
        for program in self.programs:
            program.close(failed)
        if not failed:
            remove(self.folder)

    def start(self, tools=("xdg-open",), args=()):
        program = Program(self.id().rsplit(".", 1)[-1], self.folder, tools, args=args)
        self.programs.append(program)
        return program

    def path(self, name):
        return os.path.join(self.folder, name)

    def draw(self, program, glyph, check_rows=False):
        """Draws on a blank grid square by square, checking the row values after each click."""
        shown = [0] * 8
        for row in range(8):
            for column in range(8):
                if glyph[row] & (0x80 >> column):
                    program.click_square(row, column)
                    shown[row] |= 0x80 >> column
                    if check_rows:
                        value = shown[row]
                        wait_until(lambda: program.row_values(row) == (str(value), f"0x{value:02X}"),
                                   5, f"row {row} to show {value}")


class TestGlyphwright(Scenario):
    def test_startup_state(self):
        program = self.start()
        self.assertEqual(program.title(), TITLE)
        self.assertEqual(program.selected_label(), "Char: . / 0 / 0x00")
        self.assertEqual(program.cells[65].description, "Char: A / 65 / 0x41")
        self.assertEqual(program.cells[32].description, "Char:   / 32 / 0x20")
        self.assertEqual(program.cells[255].description, "Char: . / 255 / 0xFF")
        for row in range(8):
            self.assertEqual(program.row_values(row), ("0", "0x00"))
            for column in range(8):
                self.assertFalse(program.square_is_ink(row, column))
        self.assertEqual(program.cell_picture(0), expected_picture([0] * 8, GREEN))
        self.assertEqual(program.cell_picture(1), expected_picture([0] * 8, WHITE))
        self.assertEqual(set(program.buttons) >= {"Apply", "Clear", "Invert", "Copy", "Paste"}, True)

    def test_draw_save_quit_open(self):
        program = self.start()
        program.click_cell(65)
        wait_until(lambda: program.selected_label() == "Char: A / 65 / 0x41", 5, "character 65 selected")
        self.draw(program, CAPITAL_A, check_rows=True)
        program.click(program.buttons["Apply"])
        wait_until(lambda: program.cell_picture(65) == expected_picture(CAPITAL_A, GREEN), 5, "the A in cell 65")

        program.menu("f", "s")
        program.answer_file_dialog("Save PIC SSTV Font File", self.path("mine.pf"))
        wait_until(lambda: program.title() == TITLE + " (mine.pf)", 5, "the title to name the file")
        with open(self.path("mine.pf"), "rb") as saved:
            data = saved.read()
        self.assertEqual(len(data), 2048)
        self.assertEqual(list(data[520:528]), CAPITAL_A)
        self.assertEqual(data[:520] + data[528:], bytes(2040))
        program.quit()

        again = self.start()
        self.assertEqual(again.cell_picture(65), expected_picture([0] * 8, WHITE))
        again.menu("f", "o")
        again.answer_file_dialog("Open PIC SSTV Font File", self.path("mine.pf"))
        wait_until(lambda: again.title() == TITLE + " (mine.pf)", 5, "the title after Open")
        self.assertEqual(again.cell_picture(65), expected_picture(CAPITAL_A, WHITE))
        self.assertEqual(again.cell_picture(0), expected_picture([0] * 8, GREEN))

    def test_copy_to_clipboard_and_paste(self):
        program = self.start()
        program.click_cell(65)
        self.draw(program, CAPITAL_A)
        key("alt+c")
        targets = wait_until(lambda: subprocess.run(
            ["xclip", "-selection", "clipboard", "-t", "TARGETS", "-o"],
            capture_output=True, text=True).stdout, 5, "the clipboard to hold something")
        self.assertIn("image/png", targets)
        with open(self.path("clip.png"), "wb") as out:
            subprocess.run(["xclip", "-selection", "clipboard", "-t", "image/png", "-o"], stdout=out, check=True)
        self.assertEqual(file_pixels(self.path("clip.png")), expected_picture(CAPITAL_A, WHITE))

        program.click_cell(97)
        wait_until(lambda: program.selected_label() == "Char: a / 97 / 0x61", 5, "character 97 selected")
        key("alt+p")
        wait_until(lambda: program.row_values(3) == ("126", "0x7E"), 5, "the pasted glyph")
        key("alt+a")
        wait_until(lambda: program.cell_picture(97) == expected_picture(CAPITAL_A, GREEN), 5, "the A in cell 97")
        self.assertEqual(program.cell_picture(65), expected_picture([0] * 8, WHITE))

    def test_invert(self):
        program = self.start()
        program.click(program.buttons["Invert"])
        wait_until(lambda: all(program.row_values(r) == ("255", "0xFF") for r in range(8)), 5, "inverted rows")
        self.assertTrue(all(program.square_is_ink(r, c) for r in range(8) for c in range(8)))
        x, y, _, _ = program.extents(program.squares[(0, 0)])
        self.assertEqual(screen_pixels(x + 8, y + 8, 1, 1), [[BLACK]])
        key("alt+i")
        wait_until(lambda: all(program.row_values(r) == ("0", "0x00") for r in range(8)), 5, "restored rows")

    def test_export(self):
        program = self.start()
        program.click_cell(65)
        self.draw(program, CAPITAL_A)
        key("alt+a")
        wait_until(lambda: program.cell_picture(65) == expected_picture(CAPITAL_A, GREEN), 5, "the A in cell 65")
        program.menu("f", "s")
        program.answer_file_dialog("Save PIC SSTV Font File", self.path("big.pf"))
        program.menu("f", "e")
        dialog = wait_until(lambda: program.top_level("Export Font as Pic ASM"), 10, "the export dialog")
        wait_until(lambda: program.focused_in(dialog, "text"), 10, "the file name field")
        key("Return")  # accepts the proposed name, big.pf.asm
        target = self.path("big.pf.asm")
        wait_until(lambda: os.path.exists(target), 10, "the export file")
        with open(target, "rb") as exported:
            data = exported.read()
        self.assertEqual(len(data), 16658)
        self.assertTrue(data.startswith(b"\r\n; Font: big.pf\r\n\r\nChar_000\t\tdb\t"))
        self.assertIn(b"Char_065\t\tdb\t0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00\t; A\r\n", data)
        launched = wait_until(program.launched_lines, 10, "the viewer to start")
        self.assertEqual(len(launched), 1)
        self.assertTrue(launched[0].startswith("xdg-open "), launched)
        self.assertTrue(launched[0].endswith(target), launched)
        # The companion program writes the very same bytes for the saved font.
        companion = subprocess.run([os.environ["GLYPHWRIGHT_CLI"], "export", self.path("big.pf")],
                                   capture_output=True, check=True, timeout=30)
        self.assertEqual(companion.stdout, data)
        self.assertEqual(companion.stderr, b"")

    def test_about_and_system_info(self):
        program = self.start(tools=("xdg-open",))
        program.menu("h", "a")
        about = wait_until(lambda: program.top_level("About Glyphwright"), 10, "the About box")
        wait_until(lambda: program.focused_in(about, "push button"), 10, "the About box to take the focus")
        texts = [n.name for n in walk(about) if n.getRoleName() == "label"]
        self.assertIn("Glyphwright", texts)
        self.assertIn("Version 1.0.15", texts)
        key("alt+s")
        message = program.message_box_text()
        self.assertIn("System Information Is Unavailable At This Time", message)
        key("Return")
        wait_until(lambda: program.top_level("Glyphwright") is None, 5, "the message box to close")
        # Escape must reach the About box, not the message box on its way out.
        wait_until(lambda: program.focused_in(about, "push button"), 10, "the About box to take the focus back")
        key("Escape")
        wait_until(lambda: program.top_level("About Glyphwright") is None, 5, "the About box to close")
        program.quit()

        with_tool = self.start(tools=("xdg-open", "hardinfo"))
        with_tool.menu("h", "a")
        about = wait_until(lambda: with_tool.top_level("About Glyphwright"), 10, "the About box")
        wait_until(lambda: with_tool.focused_in(about, "push button"), 10, "the About box to take the focus")
        key("alt+s")
        launched = wait_until(with_tool.launched_lines, 10, "the system information tool")
        self.assertEqual(launched, ["hardinfo "])
        key("Return")  # OK, the default button
        wait_until(lambda: with_tool.top_level("About Glyphwright") is None, 5, "the About box to close")

    def test_open_unreadable_keeps_font(self):
        program = self.start()
        program.click_cell(65)
        self.draw(program, CAPITAL_A)
        key("alt+a")
        wait_until(lambda: program.cell_picture(65) == expected_picture(CAPITAL_A, GREEN), 5, "the A in cell 65")
        fifo = self.path("pipe.pf")
        os.mkfifo(fifo)
        program.menu("f", "o")
        program.answer_file_dialog("Open PIC SSTV Font File", fifo)
        message = program.message_box_text()
        self.assertTrue(any(fifo in text and "not a regular file" in text for text in message), message)
        key("Return")
        wait_until(lambda: program.top_level("Glyphwright") is None, 5, "the message box to close")
        self.assertEqual(program.title(), TITLE)
        self.assertEqual(program.cell_picture(65), expected_picture(CAPITAL_A, GREEN))
        self.assertEqual(program.selected_label(), "Char: A / 65 / 0x41")


class TestHistory(Scenario):
    """Undo and Redo, painting with the button held, and opening what the program is given."""

    def font_file(self, name, glyphs):
        """A .pf file in a folder of its own, with the given glyphs at their codes."""
        folder = self.path("fonts")
        os.makedirs(folder, exist_ok=True)
        data = bytearray(2048)
        for code, glyph in glyphs.items():
            data[8 * code:8 * code + 8] = bytes(glyph)
        path = os.path.join(folder, name)
        with open(path, "wb") as out:
            out.write(data)
        return path

    def test_open_by_argument_and_save_in_its_folder(self):
        # Qt would read "[*]" in a title as the place of a modified mark: the name shows as it is.
        font = self.font_file("mine[*]b.pf", {65: CAPITAL_A})
        program = self.start(args=[font])
        wait_until(lambda: program.title() == TITLE + " (mine[*]b.pf)", 10, "the title to name the file")
        self.assertEqual(program.cell_picture(65), expected_picture(CAPITAL_A, WHITE))
        self.assertEqual(program.selected_label(), "Char: . / 0 / 0x00")
        # Save's dialog starts in the font's folder: a bare name lands there.
        program.menu("f", "s")
        program.answer_file_dialog("Save PIC SSTV Font File", "copy.pf")
        copy = os.path.join(os.path.dirname(font), "copy.pf")
        wait_until(lambda: os.path.exists(copy), 10, "the copy in the font's folder")
        with open(font, "rb") as original, open(copy, "rb") as saved:
            self.assertEqual(saved.read(), original.read())
        wait_until(lambda: program.title() == TITLE + " (copy.pf)", 10, "the title to name the copy")

    def test_undo_and_redo(self):
        other = self.font_file("other.pf", {66: CAPITAL_A})
        program = self.start()
        rows = lambda: [program.row_values(r)[0] for r in range(8)]
        cell = lambda code, background: program.cell_picture(code) == expected_picture(CAPITAL_A, background)
        # Each step: what the user does, then what must then show.
        steps = [
            ("select 65", lambda: program.click_cell(65),
             lambda: program.selected_label() == "Char: A / 65 / 0x41"),
            ("draw an A", lambda: self.draw(program, CAPITAL_A), lambda: rows() == [str(v) for v in CAPITAL_A]),
            ("undo a square", lambda: key("ctrl+z"), lambda: rows()[6] == "64"),
            ("redo it with Ctrl+Y", lambda: key("ctrl+y"), lambda: rows()[6] == "66"),
            ("apply", lambda: key("alt+a"), lambda: cell(65, GREEN)),
            ("invert", lambda: key("alt+i"), lambda: rows()[7] == "255"),
            ("undo invert from the menu", lambda: program.menu("e", "u"), lambda: rows()[7] == "0"),
            ("redo it with Ctrl+Shift+Z", lambda: key("ctrl+shift+z"), lambda: rows()[7] == "255"),
            ("undo it again", lambda: key("ctrl+z"), lambda: rows()[7] == "0"),
            ("New by mistake", lambda: program.menu("f", "n"),
             lambda: program.selected_label() == "Char: . / 0 / 0x00" and not cell(65, WHITE)),
            ("New taken back", lambda: key("ctrl+z"),
             lambda: cell(65, GREEN) and program.selected_label() == "Char: A / 65 / 0x41"),
            ("open another font", lambda: (program.menu("f", "o"),
                                           program.answer_file_dialog("Open PIC SSTV Font File", other)),
             lambda: program.title() == TITLE + " (other.pf)" and cell(66, WHITE)),
            ("Open taken back", lambda: key("ctrl+z"),
             lambda: program.title() == TITLE and cell(65, GREEN) and not cell(66, WHITE)),
            ("Open again by Redo", lambda: key("ctrl+y"), lambda: program.title() == TITLE + " (other.pf)"),
        ]
        for name, action, shown in steps:
            with self.subTest(step=name):
                program.wait_active()
                action()
                wait_until(shown, 10, f"the window after '{name}'")
        # Undo and Redo touch no file.
        with open(other, "rb") as font:
            self.assertEqual(font.read()[8 * 66:8 * 67], bytes(CAPITAL_A))

    def test_paint_a_stroke(self):
        program = self.start()
        program.click_cell(65)
        wait_until(lambda: program.selected_label() == "Char: A / 65 / 0x41", 5, "character 65 selected")
        # Across row 1 and down column 7, the button held: every square takes ink.
        program.stroke([(1, c) for c in range(8)] + [(r, 7) for r in range(2, 5)])
        wait_until(lambda: program.row_values(1) == ("255", "0xFF"), 5, "row 1 painted")
        wait_until(lambda: [program.row_values(r)[0] for r in range(2, 5)] == ["1", "1", "1"], 5, "column 7 painted")
        # Starting on ink, a stroke clears.
        program.stroke([(1, 2), (1, 3), (1, 4)])
        wait_until(lambda: program.row_values(1) == ("199", "0xC7"), 5, "three squares cleared")
        # Each stroke is one step.
        key("ctrl+z")
        wait_until(lambda: program.row_values(1) == ("255", "0xFF"), 5, "the second stroke undone")
        key("ctrl+z")
        wait_until(lambda: all(program.row_values(r) == ("0", "0x00") for r in range(8)), 5, "the first undone")
        # A click is still one toggle.
        program.click_square(0, 0)
        wait_until(lambda: program.row_values(0) == ("128", "0x80"), 5, "one square toggled")


if __name__ == "__main__":
    unittest.main()
