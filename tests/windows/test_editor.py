"""A Windows user's session with the editor under Wine, driven from outside as a person would
with the keyboard (xdotool): open a font whose name goes beyond ASCII, change a character and
save it, export it and find it in Notepad, look at the About box and its System Info button; and
a font opened as Explorer opens it, by its name on the command line. Windows' own dialogs answer
the file questions, starting in the font's folder, else the folder last used, else Documents, and
nothing is left in the registry. What is shown is read from the window titles, what is written
from the files. Run it through run-editor-test.sh."""
import os
import re
import subprocess
import unittest
from pathlib import Path

from driver import key, wait_until, xdotool
from screenshot import sample_font

BUILD = Path(os.environ["GLYPHWRIGHT_WINDOWS_BUILD"])
CLI = os.environ["GLYPHWRIGHT_CLI"]
LOGS = Path(os.environ["GLYPHWRIGHT_E2E_LOGS"])
# The Documents folder of the prefix's user, a folder of its own (run-editor-test.sh).
DOCUMENTS = Path(os.environ["GLYPHWRIGHT_DOCUMENTS"])
SCREENSHOT = os.environ.get("GLYPHWRIGHT_SCREENSHOT", "")
TITLE = "8x8 ROM Glyphwright Editor"
# Wine's own system information tool, where Windows keeps msinfo32.exe.
MSINFO = r"C:\windows\system32\msinfo32.exe"


def windows_path(path):
    """The name Windows programs use for a file on the Linux side: drive Z: is /."""
    return "Z:" + str(path).replace("/", "\\")


def run(*command, **options):
    return subprocess.run(command, capture_output=True, **options).stdout


def windows(pattern):
    return run("xdotool", "search", "--name", pattern, text=True).split()


def title_of(window):
    return run("xdotool", "getwindowname", window, text=True).rstrip("\n")


def appears(pattern, what):
    return wait_until(lambda: (windows(pattern) or [None])[0], timeout=30, what=what)


def disappears(pattern, what):
    wait_until(lambda: not windows(pattern), timeout=30, what=what)


def settled_picture(window, unlike=None):
    """The window as the screen shows it (PPM), once it stays the same between two looks and
    differs from unlike: the program has drawn what it was asked to."""
    last = [None]

    def check():
        now = run("import", "-window", window, "-depth", "8", "ppm:-", check=True)
        settled = now == last[0] and now != unlike
        last[0] = now
        return now if settled else None
    return wait_until(check, timeout=30, what="the window to be drawn")


def green_corner(ppm):
    """Where the selected palette cell's green begins: the box of what is pure green."""
    box = run("convert", "ppm:-", "-fill", "black", "+opaque", "#00FF00", "-format", "%@", "info:",
              input=ppm, check=True).decode()
    return tuple(int(v) for v in box.split("+")[1:])


def inverted(font, code):
    changed = bytearray(font)
    for row in range(8):
        changed[8 * code + row] ^= 0xFF
    return bytes(changed)


def registry_key_exists(key):
    return subprocess.run(["wine", "reg", "query", key], capture_output=True).returncode == 0


class TestWindowsEditor(unittest.TestCase):
    def setUp(self):
        self.files = LOGS / "files"
        self.files.mkdir(exist_ok=True)
        self.log = open(LOGS / f"glyphwright-{self._testMethodName}.log", "wb")
        self.process = None

    def start(self, *arguments, title=TITLE):
        # Inside a Wine desktop, which draws the windows' frames as Windows does; started from
        # the program's folder, as the Start menu shortcut starts it.
        self.process = subprocess.Popen(
            ["wine", "explorer", "/desktop=Glyphwright,800x600", str(BUILD / "glyphwright.exe"),
             *arguments], cwd=BUILD, stdout=self.log, stderr=subprocess.STDOUT)
        self.desktop = appears("^Glyphwright - Wine desktop$", "Wine's desktop")
        self.main = appears(f"^{re.escape(title)}$", "the editor's window")
        xdotool("windowactivate", "--sync", self.desktop)

    def tearDown(self):
        subprocess.run(["import", "-window", "root", str(LOGS / f"{self._testMethodName}.png")])
        if self.process:
            self.process.kill()
            self.process.wait()
        subprocess.run(["wineserver", "--wait"])
        self.log.close()

    def answer_dialog(self, title, path):
        """Gives the dialog a full path, or a bare name for a file in the folder it shows."""
        appears(f"^{title}$", f"the dialog {title}")
        # Pasted, as xdotool cannot type letters beyond ASCII into Wine: the proposed name is
        # selected, and the pasted path takes its place.
        # xclip stays behind to serve the clipboard: nothing waits for its output.
        text = windows_path(path) if path.is_absolute() else str(path)
        subprocess.run(["xclip", "-selection", "clipboard"], input=text.encode(),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        key("ctrl+v", "Return")
        disappears(f"^{title}$", f"the dialog {title} to close")

    def assert_no_settings_written(self):
        """Qt's own file dialog keeps its history in HKCU\\Software\\QtProject whenever one closes;
        Windows' own dialogs, and the rest of the program, leave nothing."""
        for key_name in (r"HKCU\Software\QtProject", r"HKCU\Software\Glyphwright",
                         r"HKCU\Software\The Glyphwright authors"):
            self.assertFalse(registry_key_exists(key_name), f"{key_name} was written")

    def wait_for_title(self, name):
        wait_until(lambda: title_of(self.main) == f"{TITLE} ({name})", timeout=30,
                   what=f"the title to name {name}")

    def test_session(self):
        font = sample_font()
        opened = self.files / "Schrift \u00e4\u00f6\u00fc.pf"
        opened.write_bytes(font)
        self.start()

        # Without a font, and before any folder was chosen, Save starts in Documents: never in
        # the program's folder, where the Start menu shortcut starts it.
        key("alt+f", "s")
        self.answer_dialog("Save PIC SSTV Font File", Path("untitled.pf"))
        self.wait_for_title("untitled.pf")
        self.assertEqual((DOCUMENTS / "untitled.pf").read_bytes(), bytes(2048))
        self.assertFalse((BUILD / "untitled.pf").exists())

        # File, Open: the font's name, letters beyond ASCII and all, in the title.
        key("alt+f", "o")
        self.answer_dialog("Open PIC SSTV Font File", opened)
        self.wait_for_title(opened.name)
        # Character 0 is selected; down two rows of 30 and right five is 65, the A.
        first = settled_picture(self.main)
        key("Down", "Down", "Right", "Right", "Right", "Right", "Right")
        selected = settled_picture(self.main, unlike=first)
        (x0, y0), (x, y) = green_corner(first), green_corner(selected)
        self.assertEqual((x - x0) * 2, (y - y0) * 5, "the green cell is not 5 right, 2 down")
        self.assertGreater(y, y0)
        if SCREENSHOT:
            run("convert", "ppm:-", SCREENSHOT, input=selected, check=True)

        # Invert and Apply change the A in the palette; File, Save writes the font. An access key
        # clicks its button after a short animation, each on a timer of its own: each click is
        # waited for on the screen, so that Apply comes after Invert.
        key("alt+i")
        inverted_shown = settled_picture(self.main, unlike=selected)
        key("alt+a")
        settled_picture(self.main, unlike=inverted_shown)
        key("alt+f", "s")
        edited = self.files / "edited.pf"
        self.answer_dialog("Save PIC SSTV Font File", edited)
        self.wait_for_title(edited.name)
        self.assertEqual(edited.read_bytes(), inverted(font, 65))

        # File, Export: the very bytes the Linux companion writes, shown in Notepad.
        key("alt+f", "e")
        exported = self.files / "edited.asm"
        self.answer_dialog("Export Font as Pic ASM", exported)
        notepad = appears(r"^edited\.asm - Notepad$", "Notepad showing the export")
        self.assertEqual(exported.read_bytes(), run(CLI, "export", str(edited), check=True))
        self.assertEqual(title_of(self.main), f"{TITLE} (edited.pf)")
        # File, Exit in Notepad, which has the focus (Alt+F4 would go to the window manager).
        key("alt+f", "x")
        disappears(r"^edited\.asm - Notepad$", "Notepad to close")

        # Saved under a name beyond ASCII, the title shows it as it is.
        key("alt+f", "s")
        renamed = self.files / "Gespeichert \u00fc\u00df.pf"
        self.answer_dialog("Save PIC SSTV Font File", renamed)
        self.wait_for_title(renamed.name)
        self.assertEqual(renamed.read_bytes(), inverted(font, 65))

        # Help, About, and its System Info button: without the tool in the registry it says so;
        # with it there, it starts the tool and the About box stays.
        key("alt+h", "a")
        about = appears("^About Glyphwright$", "the About box")
        run("convert", "ppm:-", str(LOGS / "about.png"), input=settled_picture(about), check=True)
        key("alt+s")
        appears("^Glyphwright$", "the message that there is no system information tool")
        key("Return")
        disappears("^Glyphwright$", "the message to close")
        run("wine", "reg", "add", r"HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO", "/v", "PATH",
            "/d", MSINFO, "/f", check=True)
        key("alt+s")
        appears("^About System Information$", "the system information tool")
        self.assertTrue(windows("^About Glyphwright$"))
        key("Return")
        disappears("^About System Information$", "the system information tool to close")
        xdotool("windowactivate", "--sync", self.desktop)
        key("Escape")
        disappears("^About Glyphwright$", "the About box to close")

        # After New there is no font's folder: Save starts in the folder last used.
        key("alt+f", "n")
        wait_until(lambda: title_of(self.main) == TITLE, timeout=30, what="New to clear the title")
        key("alt+f", "s")
        self.answer_dialog("Save PIC SSTV Font File", Path("after new.pf"))
        self.wait_for_title("after new.pf")
        self.assertEqual((self.files / "after new.pf").read_bytes(), bytes(2048))

        # File, Exit ends the program, without a question.
        key("alt+f", "x")
        disappears(f"^{TITLE}", "the editor to end")
        self.assert_no_settings_written()

    def test_opened_by_argument(self):
        """As Explorer starts it for a double-clicked font: the full name as the one argument."""
        folder = self.files / "Zeichens\u00e4tze"
        folder.mkdir(exist_ok=True)
        font = folder / "Rahmen \u00e4.pf"
        font.write_bytes(sample_font())
        self.start(windows_path(font), title=f"{TITLE} ({font.name})")
        # Save and Export start in the font's folder: bare names land beside it.
        key("alt+f", "s")
        self.answer_dialog("Save PIC SSTV Font File", Path("copy.pf"))
        self.wait_for_title("copy.pf")
        self.assertEqual((folder / "copy.pf").read_bytes(), sample_font())
        key("alt+f", "e")
        self.answer_dialog("Export Font as Pic ASM", Path("copy.asm"))
        appears(r"^copy\.asm - Notepad$", "Notepad showing the export")
        self.assertEqual((folder / "copy.asm").read_bytes(),
                         run(CLI, "export", str(folder / "copy.pf"), check=True))
        key("alt+f", "x")
        disappears(r"^copy\.asm - Notepad$", "Notepad to close")
        xdotool("windowactivate", "--sync", self.desktop)
        key("alt+f", "x")
        disappears(f"^{TITLE}", "the editor to end")
        self.assert_no_settings_written()


if __name__ == "__main__":
    unittest.main()
