"""End-to-end scenarios of the Font menu: Import, Export As, Transform and the text preview, used
from the keyboard and the mouse as a person uses them, and checked against the companion."""
import os
import subprocess

import pyatspi

from driver import key, screen_pixels, type_text, wait_until, walk
from test_glyphwright import CAPITAL_A, WHITE, Scenario, expected_picture

BLACK = "#000000"
E_ACUTE = [0x0C, 0x18, 0x3C, 0x66, 0x7E, 0x60, 0x3C, 0x00]


def companion(*arguments):
    return subprocess.run([os.environ["GLYPHWRIGHT_CLI"], *arguments], capture_output=True,
                          check=True, timeout=30)


def write_font(path, glyphs):
    """A .pf font holding these glyphs at their codes, every other glyph blank."""
    data = bytearray(2048)
    for code, glyph in glyphs.items():
        data[code * 8:code * 8 + 8] = bytes(glyph)
    with open(path, "wb") as out:
        out.write(data)


def control(window, name):
    for node in walk(window):
        if node.name == name:
            return node
    return None


class TestFontDialogs(Scenario):
    def import_file(self, program, path):
        program.menu("o", "i")
        program.answer_file_dialog("Import Font", path)
        return wait_until(lambda: program.top_level("Import " + os.path.basename(path)), 10,
                          "the import dialog")

    def focus(self, program, window, access_key, name, role=None):
        """Moves the focus with the access key and waits until the control named so holds it; a
        combo box goes by its role and the text it shows, as screen readers name it."""
        key(access_key)
        if role:
            wait_until(lambda: program.focused_in(window, role).name.startswith(name), 10,
                       f"{name} to take the focus")
        else:
            wait_until(lambda: control(window, name).getState().contains(pyatspi.STATE_FOCUSED),
                       10, f"{name} to take the focus")

    def test_import_console_font_by_its_table(self):
        # A console font whose glyphs are in code page 437 order, é at 0x82, with a Unicode table
        # that says so: through the table, é lands at 0xE9, its code in Latin-1.
        write_font(self.path("dos.pf"), {0x82: E_ACUTE, 0x41: CAPITAL_A})
        companion("convert", self.path("dos.pf"), "-o", self.path("dos.psf"), "--charset", "cp437")
        program = self.start()
        dialog = self.import_file(program, self.path("dos.psf"))
        found = wait_until(lambda: control(dialog, "The 256 characters as they will be"), 10,
                           "the preview")
        self.assertIn("through the Unicode table", found.description)
        key("Return")
        wait_until(lambda: program.top_level("Import ") is None, 10, "the import dialog to close")
        wait_until(lambda: program.cell_picture(0xE9) == expected_picture(E_ACUTE, WHITE), 10,
                   "é in cell 0xE9")
        self.assertEqual(program.cell_picture(0x82), expected_picture([0] * 8, WHITE))
        self.assertEqual(program.cell_picture(0x41), expected_picture(CAPITAL_A, WHITE))

    def test_import_raw_rom_span(self):
        # A ROM dump: 16 bytes of something else, then the glyphs of A and é.
        with open(self.path("rom.bin"), "wb") as rom:
            rom.write(b"\xAA" * 16 + bytes(CAPITAL_A) + bytes(E_ACUTE))
        program = self.start()
        dialog = self.import_file(program, self.path("rom.bin"))
        self.focus(program, dialog, "alt+s", "Offset")
        key("ctrl+a")
        type_text("0x10")
        self.focus(program, dialog, "alt+i", "First code")
        key("ctrl+a")
        type_text("65")
        self.focus(program, dialog, "alt+c", "Count")
        key("ctrl+a")
        type_text("2")
        key("Return")
        wait_until(lambda: program.top_level("Import ") is None, 10, "the import dialog to close")
        wait_until(lambda: program.cell_picture(65) == expected_picture(CAPITAL_A, WHITE), 10,
                   "A in cell 65")
        self.assertEqual(program.cell_picture(66), expected_picture(E_ACUTE, WHITE))
        self.assertEqual(program.cell_picture(67), expected_picture([0] * 8, WHITE))
        # Save proposes the ROM's name as a font file, never the ROM itself.
        program.menu("f", "s")
        program.answer_file_dialog("Save PIC SSTV Font File", self.path("rom.pf"))
        wait_until(lambda: os.path.exists(self.path("rom.pf")), 10, "the saved font")
        with open(self.path("rom.pf"), "rb") as saved:
            self.assertEqual(saved.read()[65 * 8:67 * 8], bytes(CAPITAL_A + E_ACUTE))

    def test_export_pic16_as_the_companion(self):
        write_font(self.path("osd.pf"), {0x41: CAPITAL_A, 0xE9: E_ACUTE})
        program = self.start()
        program.menu("f", "o")
        program.answer_file_dialog("Open PIC SSTV Font File", self.path("osd.pf"))
        wait_until(lambda: program.title().endswith("(osd.pf)"), 10, "the font opened")
        program.menu("o", "a")
        dialog = wait_until(lambda: program.top_level("Export Font As"), 10, "Export As")
        self.focus(program, dialog, "alt+t", "PIC18", "combo box")
        key("Down")  # pic16, the second target
        self.focus(program, dialog, "alt+l", "File")
        key("ctrl+a")
        type_text(self.path("osd16.asm"))
        key("Return")
        wait_until(lambda: os.path.exists(self.path("osd16.asm")), 10, "the exported table")
        wait_until(lambda: program.top_level("Export Font As") is None, 10, "Export As to close")
        with open(self.path("osd16.asm"), "rb") as exported:
            data = exported.read()
        reference = companion("export", self.path("osd.pf"), "--target", "pic16").stdout
        self.assertEqual(data, reference)
        self.assertIn(b"Char_065\t\tdt\t0x18, 0x24", data)

    def test_transform_a_range_and_undo(self):
        program = self.start()
        program.menu("o", "t")
        dialog = wait_until(lambda: program.top_level("Transform"), 10, "the transform dialog")
        self.focus(program, dialog, "alt+o", "Shift", "combo box")
        key("i")  # Invert
        codes = wait_until(lambda: control(dialog, "Codes, FIRST-LAST"), 10, "the codes field")
        program.click(codes)
        key("ctrl+a")
        type_text("65-66")
        after = control(dialog, "The font after")
        wait_until(lambda: "Changes 2 of 2 glyphs" in after.description, 10, "the preview")
        key("Return")
        wait_until(lambda: program.top_level("Transform") is None, 10, "the dialog to close")
        wait_until(lambda: program.cell_picture(65) == expected_picture([0xFF] * 8, WHITE), 10,
                   "cell 65 inverted")
        self.assertEqual(program.cell_picture(66), expected_picture([0xFF] * 8, WHITE))
        self.assertEqual(program.cell_picture(67), expected_picture([0] * 8, WHITE))
        # One step: Undo takes back both characters at once.
        program.wait_active()
        key("ctrl+z")
        wait_until(lambda: program.cell_picture(65) == expected_picture([0] * 8, WHITE), 10,
                   "cell 65 back")
        self.assertEqual(program.cell_picture(66), expected_picture([0] * 8, WHITE))

    def test_text_preview_follows_apply(self):
        program = self.start()
        program.menu("o", "p")
        preview = wait_until(lambda: program.top_level("Text Preview"), 10, "the text preview")
        wait_until(lambda: preview.getState().contains(pyatspi.STATE_ACTIVE), 10,
                   "the preview to be active")
        self.focus(program, preview, "alt+t", "Text")
        key("ctrl+a")
        type_text("AA")
        picture = wait_until(lambda: control(preview, "The text drawn with the font"), 10,
                             "the picture")

        def drawn():
            x, y, _, _ = program.extents(picture)
            return screen_pixels(x, y, 16, 16)
        wait_until(lambda: drawn() == expected_picture([0] * 8, WHITE), 10, "a blank A")
        program.click_cell(65)
        wait_until(program.is_active, 10, "the main window active")
        self.draw(program, CAPITAL_A)
        # Nothing reaches the font before Apply.
        self.assertEqual(drawn(), expected_picture([0] * 8, WHITE))
        program.click(program.buttons["Apply"])
        wait_until(lambda: drawn() == expected_picture(CAPITAL_A, WHITE), 10, "the A drawn")
