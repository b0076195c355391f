"""Takes the README's screenshot of the real program, driven as the scenarios drive it: a font of
capital letters and digits opened, a small "a" drawn square by square and applied, and left in
the editor. Run it inside run-e2e.sh's surroundings (scripts/screenshot.sh does):

    screenshot.py OUTPUT [NAME=VALUE...]

where each NAME=VALUE is set for the program only, e.g. QT_QPA_PLATFORMTHEME=qt6ct
XDG_CONFIG_HOME=/some/folder for a theme. From Python: take_screenshot(output, env)."""
import os
import shutil
import subprocess
import sys

from driver import Program, fresh_folder, remove, wait_until, xdotool

OPEN_TITLE = "Open PIC SSTV Font File"
GREEN = "#00FF00"

# Rows top to bottom, bit 7 the leftmost pixel.
SAMPLE_GLYPHS = {
    "A": (0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00),
    "B": (0x7C, 0x42, 0x42, 0x7C, 0x42, 0x42, 0x7C, 0x00),
    "C": (0x3C, 0x42, 0x40, 0x40, 0x40, 0x42, 0x3C, 0x00),
    "D": (0x78, 0x44, 0x42, 0x42, 0x42, 0x44, 0x78, 0x00),
    "E": (0x7E, 0x40, 0x40, 0x7C, 0x40, 0x40, 0x7E, 0x00),
    "F": (0x7E, 0x40, 0x40, 0x7C, 0x40, 0x40, 0x40, 0x00),
    "G": (0x3C, 0x42, 0x40, 0x4E, 0x42, 0x42, 0x3C, 0x00),
    "H": (0x42, 0x42, 0x42, 0x7E, 0x42, 0x42, 0x42, 0x00),
    "I": (0x38, 0x10, 0x10, 0x10, 0x10, 0x10, 0x38, 0x00),
    "J": (0x0E, 0x04, 0x04, 0x04, 0x04, 0x44, 0x38, 0x00),
    "K": (0x42, 0x44, 0x48, 0x70, 0x48, 0x44, 0x42, 0x00),
    "L": (0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x7E, 0x00),
    "M": (0x42, 0x66, 0x5A, 0x42, 0x42, 0x42, 0x42, 0x00),
    "N": (0x42, 0x62, 0x52, 0x4A, 0x46, 0x42, 0x42, 0x00),
    "O": (0x3C, 0x42, 0x42, 0x42, 0x42, 0x42, 0x3C, 0x00),
    "P": (0x7C, 0x42, 0x42, 0x7C, 0x40, 0x40, 0x40, 0x00),
    "Q": (0x3C, 0x42, 0x42, 0x42, 0x4A, 0x44, 0x3A, 0x00),
    "R": (0x7C, 0x42, 0x42, 0x7C, 0x48, 0x44, 0x42, 0x00),
    "S": (0x3C, 0x42, 0x40, 0x3C, 0x02, 0x42, 0x3C, 0x00),
    "T": (0x7C, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x00),
    "U": (0x42, 0x42, 0x42, 0x42, 0x42, 0x42, 0x3C, 0x00),
    "V": (0x42, 0x42, 0x42, 0x42, 0x24, 0x24, 0x18, 0x00),
    "W": (0x42, 0x42, 0x42, 0x42, 0x5A, 0x66, 0x42, 0x00),
    "X": (0x42, 0x42, 0x24, 0x18, 0x24, 0x42, 0x42, 0x00),
    "Y": (0x44, 0x44, 0x28, 0x10, 0x10, 0x10, 0x10, 0x00),
    "Z": (0x7E, 0x02, 0x04, 0x18, 0x20, 0x40, 0x7E, 0x00),
    "0": (0x3C, 0x46, 0x4A, 0x52, 0x62, 0x42, 0x3C, 0x00),
    "1": (0x10, 0x30, 0x10, 0x10, 0x10, 0x10, 0x38, 0x00),
    "2": (0x3C, 0x42, 0x02, 0x0C, 0x30, 0x40, 0x7E, 0x00),
    "3": (0x3C, 0x42, 0x02, 0x1C, 0x02, 0x42, 0x3C, 0x00),
    "4": (0x0C, 0x14, 0x24, 0x44, 0x7E, 0x04, 0x04, 0x00),
    "5": (0x7E, 0x40, 0x7C, 0x02, 0x02, 0x42, 0x3C, 0x00),
    "6": (0x1C, 0x20, 0x40, 0x7C, 0x42, 0x42, 0x3C, 0x00),
    "7": (0x7E, 0x02, 0x04, 0x08, 0x10, 0x10, 0x10, 0x00),
    "8": (0x3C, 0x42, 0x42, 0x3C, 0x42, 0x42, 0x3C, 0x00),
    "9": (0x3C, 0x42, 0x42, 0x3E, 0x02, 0x04, 0x38, 0x00),
}
# Drawn in the editor, so the picture shows a glyph being made.
SMALL_A = (0x00, 0x00, 0x38, 0x04, 0x3C, 0x44, 0x3C, 0x00)


def sample_font():
    font = bytearray(2048)
    for char, rows in SAMPLE_GLYPHS.items():
        font[8 * ord(char):8 * ord(char) + 8] = bytes(rows)
    return bytes(font)


def cell_picture_of(glyph, background):
    """A palette cell's 16 x 16 picture: each pixel of the glyph drawn 2 x 2, black on background."""
    return [["#000000" if glyph[y // 2] & (0x80 >> (x // 2)) else background for x in range(16)]
            for y in range(16)]


def window_id(program):
    """The X window of the program's main window, for a screenshot with its frame."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.process.pid),
                            "--name", "^8x8 ROM Glyphwright Editor"],
                           capture_output=True, text=True).stdout.split()
    return found[0] if len(found) == 1 else None


def capture(window, path):
    """The window with its frame as a PNG, and its pixels to compare captures by."""
    subprocess.run(["import", "-window", window, "-frame", "-strip", path], check=True)
    return subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                          capture_output=True).stdout


def take_screenshot(output, env=None):
    """Starts the program with env added to its environment, sets the scene and writes the
    window's picture to output."""
    output = os.path.abspath(output)
    folder = fresh_folder()
    program = Program("screenshot", folder, env=env)
    failed = True
    try:
        font_path = os.path.join(folder, "sample.pf")
        with open(font_path, "wb") as out:
            out.write(sample_font())
        program.menu("f", "o")
        program.answer_file_dialog(OPEN_TITLE, font_path)
        wait_until(lambda: program.title().endswith("(sample.pf)"), 10, "the title to name the font")

        program.click_cell(97)
        wait_until(lambda: program.selected_label() == "Char: a / 97 / 0x61", 10, "character 97 selected")
        for row in range(8):
            for column in range(8):
                if SMALL_A[row] & (0x80 >> column):
                    program.click_square(row, column)
        wait_until(lambda: all(program.row_values(row) == (str(value), f"0x{value:02X}")
                               for row, value in enumerate(SMALL_A)), 10, "the drawn rows")
        program.click(program.buttons["Apply"])
        wait_until(lambda: program.cell_picture(97) == cell_picture_of(SMALL_A, GREEN), 10,
                   "the drawn glyph in the palette")

        # The pointer off the window, so that no control is shown hovered.
        width, height = subprocess.run(["xdotool", "getdisplaygeometry"], check=True,
                                       capture_output=True, text=True).stdout.split()
        xdotool("mousemove", int(width) - 1, int(height) - 1)
        window = wait_until(lambda: window_id(program), 10, "the main window's X window")
        first, latest = os.path.join(folder, "first.png"), os.path.join(folder, "latest.png")
        previous = [capture(window, first)]

        def steady():
            pixels = capture(window, latest)
            same = pixels == previous[0]
            previous[0] = pixels
            return same
        wait_until(steady, 10, "the window to stop changing")
        os.makedirs(os.path.dirname(output), exist_ok=True)
        shutil.copyfile(latest, output)
        program.quit()
        failed = False
    finally:
        program.close(failed)
        if not failed:
            remove(folder)
    return output


def main(arguments):
    if not arguments or any("=" not in setting for setting in arguments[1:]):
        print(__doc__, file=sys.stderr)
        return 2
    env = dict(setting.split("=", 1) for setting in arguments[1:])
    print(f"wrote {take_screenshot(arguments[0], env)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
