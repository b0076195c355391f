#!/usr/bin/env bash
# The Windows packages under Wine, each in a Wine prefix of its own, in a virtual X server:
# - the zip, unpacked into a folder whose name has spaces and letters beyond ASCII: it holds the
#   DLLs the programs and plugins load and no others, the companion gives the Linux companion's
#   bytes from there and the editor opens its window;
# - the installer, run silently (/S): the programs under Program Files, a Start menu entry that
#   starts the editor, an entry under Add or Remove Programs; its uninstaller, run silently,
#   leaves the prefix's files and registry keys as they were before.
# Usage: test-packages.sh PACKAGE-FOLDER LINUX-glyphwright-cli LOG-FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=SCRIPTDIR/../xserver.sh
source "$here/../xserver.sh"
packages="$(realpath "$1")"
linux_cli="$(realpath "$2")"
logs="$(realpath -m "$3")"
zip="$(ls "$packages"/glyphwright-*-win64.zip)"
setup="$(ls "$packages"/glyphwright-*-win64-setup.exe)"
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
rm -rf "$logs"
mkdir -p "$logs"
work="$(mktemp -d)"
cleanup() {
    for prefix in "$work"/prefix-*; do
        [ -d "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    done
    stop_x_server
    rm -rf "$work"
}
trap cleanup EXIT
start_x_server "$logs"
start_window_manager

fail() {
    echo "test-packages.sh: $*" >&2
    exit 1
}

new_prefix() {
    export WINEPREFIX="$work/prefix-$1"
    "$here/../../cmake/wine-run.sh" --prepare
}

editor_window() {
    xdotool search --name "^8x8 ROM Glyphwright Editor$"
}

# Starts the editor (the command given), waits for its window and closes it again as a user does.
editor_opens() {
    "$@" >>"$logs/editor.log" 2>&1 &
    wait_for "the editor's window" editor_window || fail "the editor's window did not open"
    xdotool windowactivate --sync "$(editor_window)" key --clearmodifiers alt+F4
    wait_for "the editor to end" sh -c '! xdotool search --name "^8x8 ROM Glyphwright Editor$"'
    wineserver --wait
}

# Every DLL an executable or DLL imports, lower case, one a line.
imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'
}

# --- The zip.
new_prefix zip
folder="$work/Glyph Tools $(printf '\u00e4')"
mkdir -p "$folder"
unzip -q "$zip" -d "$folder"
app="$(ls -d "$folder"/glyphwright-*-win64)"
[ -f "$app/glyphwright.exe" ] && [ -f "$app/glyphwright-cli.exe" ] || fail "the zip lacks a program"
[ -f "$app/README.txt" ] && [ -f "$app/LICENSE.txt" ] || fail "the zip lacks the README or licence"

# What the programs and plugins load, followed through the DLLs: those in the zip must be exactly
# the ones not in Windows itself (its DLLs and the api-ms-win API sets its loader resolves).
needed="$work/needed"
: >"$needed"
queue=("$app/glyphwright.exe" "$app/glyphwright-cli.exe" "$app"/platforms/*.dll "$app"/styles/*.dll)
while [ ${#queue[@]} -gt 0 ]; do
    file="${queue[0]}"
    queue=("${queue[@]:1}")
    for dll in $(imports "$file"); do
        grep -qx "$dll" "$needed" && continue
        echo "$dll" >>"$needed"
        shipped="$(find "$app" -maxdepth 1 -iname "$dll" | head -n 1)"
        if [ -n "$shipped" ]; then
            queue+=("$shipped")
        elif [[ "$dll" != api-ms-win-* ]] && [ ! -e "$WINEPREFIX/drive_c/windows/system32/$dll" ]; then
            fail "$dll is needed and is neither in the zip nor in Windows"
        fi
    done
done
for dll in "$app"/*.dll; do
    name="$(basename "$dll" | tr 'A-Z' 'a-z')"
    grep -qx "$name" "$needed" || fail "the zip holds $name, which nothing loads"
done

# Run from the unpacked folder, on a font elsewhere.
python3 -c "import random, sys; r = random.Random(7)
sys.stdout.buffer.write(bytes(r.randrange(256) for _ in range(2048)))" >"$work/font.pf"
(cd "$work" && wine "$app/glyphwright-cli.exe" export font.pf -o zip.asm)
(cd "$work" && "$linux_cli" export font.pf -o linux.asm)
cmp "$work/zip.asm" "$work/linux.asm" || fail "the zip's companion writes other bytes"
editor_opens wine "$app/glyphwright.exe"
echo "test-packages.sh: the zip runs from $folder"

# --- The installer.
new_prefix setup
snapshot() {
    # The uninstaller runs from a copy in the Temp folder, which Windows removes later.
    (cd "$WINEPREFIX" && find drive_c -not -path '*/Temp/*' | sort &&
        grep -h '^\[' system.reg user.reg | sed 's/ [0-9]*$//' |
        grep -v 'NetworkCards\]$' | sort)
}
snapshot >"$logs/before-install.txt"
wine "$setup" /S
wineserver --wait
installed="$WINEPREFIX/drive_c/Program Files/Glyphwright"
for file in glyphwright.exe glyphwright-cli.exe Uninstall.exe platforms/qwindows.dll; do
    [ -f "$installed/$file" ] || fail "the installer did not install $file"
done
shortcut="C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Glyphwright\\Glyphwright.lnk"
[ -f "$(winepath -u "$shortcut")" ] || fail "no Start menu entry"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Glyphwright' \
    /v UninstallString >/dev/null || fail "no entry under Add or Remove Programs"
[ "$(wine "C:\\Program Files\\Glyphwright\\glyphwright-cli.exe" --version)" = \
  "glyphwright-cli $("$linux_cli" --version | cut -d' ' -f2)" ] || fail "the installed companion"
editor_opens wine start /unix "$(winepath -u "$shortcut")"

wine "C:\\Program Files\\Glyphwright\\Uninstall.exe" /S
wineserver --wait
# Files the uninstaller could only mark for removal go when Windows starts again.
wine wineboot --restart >/dev/null 2>&1
wineserver --wait
snapshot >"$logs/after-uninstall.txt"
diff "$logs/before-install.txt" "$logs/after-uninstall.txt" >&2 ||
    fail "the uninstaller left the files and registry keys above behind"
echo "test-packages.sh: the installer installs, starts from the Start menu and uninstalls cleanly"
