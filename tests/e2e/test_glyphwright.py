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

    def start(self, tools=("xdg-open",)):
        program = Program(self.id().rsplit(".", 1)[-1], self.folder, tools)
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


if __name__ == "__main__":
    unittest.main()
