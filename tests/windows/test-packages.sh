#!/usr/bin/env bash
# The Windows packages under Wine, each in a Wine prefix of its own, in a virtual X server:
# - the zip, unpacked into a folder whose name has spaces and letters beyond ASCII: it holds the
#   DLLs the programs and plugins load and no others, the companion gives the Linux companion's
#   bytes from there and the editor opens its window and a font it is given, and neither leaves
#   a file or a registry value behind;
# - the installer, run silently (/S), once for the current user alone and once for everyone: the
#   programs in the user's or the machine's folder and nothing in the other's, one Start menu
#   shortcut that starts the editor, the entry under Add or Remove Programs, glyphwright-cli on
#   the user's or the machine's PATH in a new Command Prompt (the README's example as typed), and
#   .pf opened with the editor as Explorer opens it; the uninstaller, run silently, leaves the
#   prefix's files and registry values as they were before. The setup's version resource.
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

# Closes the editor's window as a user does, with Alt+F4 to the window manager. A key sent while
# the window is still being mapped is lost on a busy machine, so it goes again each few seconds
# until no window of the editor is left.
close_editor() {
    local tries
    for tries in 1 2 3 4 5 6 7 8 9 10 11 12; do
        local window
        window="$(xdotool search --name "^8x8 ROM Glyphwright Editor" | head -n 1)" || true
        [ -n "$window" ] || return 0
        # The window may go between the search and the key: that is what is waited for.
        xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 2>/dev/null || true
        editor_gone() { ! xdotool search --name "^8x8 ROM Glyphwright Editor"; }
        local deadline=$((SECONDS + 5))
        until editor_gone >/dev/null 2>&1 || [ "$SECONDS" -ge "$deadline" ]; do
            sleep 0.1
        done
    done
    editor_gone >/dev/null 2>&1 || fail "the editor did not end on Alt+F4"
}

# Starts the editor (the command given), waits for its window and closes it again as a user does.
editor_opens() {
    "$@" >>"$logs/editor.log" 2>&1 &
    wait_for "the editor's window" editor_window || fail "the editor's window did not open"
    close_editor
    wineserver --wait
}

# Every DLL an executable or DLL imports, lower case, one a line.
imports() {
    x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z'
}

# What a program may change and an uninstaller must put back, the machine's and the user's
# apart: the files (the uninstaller runs from a copy in the Temp folder, which Windows removes
# later) and every registry value. Wine's hardware detection rewrites the display adapters' and
# network cards' keys at each start.
registry_values() {
    awk '/^\[/ { key = $0; sub(/ [0-9]+$/, "", key); print key; next }
         /^#/ || /^$/ { next }
         { print key " " $0 }' "$WINEPREFIX/$1" |
        grep -Ev 'NetworkCards\]|CurrentControlSet\\\\Control\\\\Class\\\\'
}
machine_state() {
    (cd "$WINEPREFIX" && find drive_c -not -path '*/Temp/*' -not -path 'drive_c/users/*' | sort)
    registry_values system.reg
}
user_state() {
    (cd "$WINEPREFIX" && find drive_c/users -not -path '*/Temp/*' | sort)
    registry_values user.reg
}
unchanged() {
    wineserver --wait
    "$1" | diff "$logs/$2" - >&2
}
# The editor started by a command shows the font named in its title.
editor_opens_file() {
    local file="$1"
    shift
    "$@" >>"$logs/editor.log" 2>&1 &
    editor_with_file() {
        xdotool search --name "^8x8 ROM Glyphwright Editor \($file\)$"
    }
    wait_for "the editor's window with $file" editor_with_file ||
        fail "the editor's window did not open with $file"
    close_editor
    wineserver --wait
}
# --- The zip, which leaves no trace.
new_prefix zip
machine_state >"$logs/zip-before-machine.txt"
user_state >"$logs/zip-before.txt"
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
editor_opens_file font.pf wine "$app/glyphwright.exe" "$(winepath -w "$work/font.pf")"
unchanged machine_state zip-before-machine.txt || fail "the zip's programs changed the machine's"
unchanged user_state zip-before.txt || fail "the zip's programs left the files and values above"
echo "test-packages.sh: the zip runs from $folder and leaves no trace"

# --- The installer.
# A Windows program's own view of a value: reg_value KEY NAME, or reg_value KEY for its default.
reg_value() {
    local which=(/ve) name="(Default)"
    [ $# -lt 2 ] || which=(/v "$2") name="$2"
    wine reg query "$1" "${which[@]}" 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $name    REG_[A-Z_]*    //p" | sed 's/^(value not set)$//'
}
reg_type() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        sed -n "s/^    $2    \(REG_[A-Z_]*\).*/\1/p"
}
# The setup's version resource, as Explorer's Properties show it (UTF-16 key, then its value).
setup_version_string() {
    strings -el "$setup" | grep -A1 -x "$1" | sed -n 2p
}
[ "$(setup_version_string FileDescription)" = "Glyphwright setup" ] ||
    fail "the setup's description"
[ "$(setup_version_string ProductVersion)" = "$("$linux_cli" --version | cut -d' ' -f2)" ] ||
    fail "the setup's version"
version_line="glyphwright-cli $("$linux_cli" --version | cut -d' ' -f2)"
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Glyphwright'
fonts="$work/Meine Schriften $(printf '\u00e4')"
mkdir -p "$fonts"
cp "$work/font.pf" "$fonts/font.pf"

# What a user finds once it is installed in FOLDER for ROOT (HKCU or HKLM), its shortcut in
# START-MENU: the programs; in Add or Remove Programs the folder, its size in KiB, both uninstall
# commands and no web address; one Start menu shortcut, the editor's, which starts it, and no
# Uninstall shortcut; and the companion on PATH in a new Command Prompt.
check_installed() {
    local folder="$2" start_menu="$3" entry="$1\\$uninstall_key" file found size actual
    for file in glyphwright.exe glyphwright-cli.exe Uninstall.exe platforms/qwindows.dll; do
        [ -f "$(winepath -u "$folder")/$file" ] || fail "the installer did not install $file"
    done
    [ "$(reg_value "$entry" InstallLocation)" = "$folder" ] || fail "InstallLocation is not $folder"
    size=$(($(reg_value "$entry" EstimatedSize)))
    actual=$(du -sk --apparent-size "$(winepath -u "$folder")" | cut -f1)
    [ "$size" -ge $((actual * 9 / 10)) ] && [ "$size" -le $((actual * 11 / 10)) ] ||
        fail "EstimatedSize says $size KiB, the folder holds $actual KiB"
    reg_value "$entry" UninstallString | grep -q . || fail "no UninstallString"
    reg_value "$entry" QuietUninstallString | grep -q ' /S$' || fail "no QuietUninstallString"
    [ -z "$(reg_value "$entry" URLInfoAbout)" ] || fail "a web address is shown"
    found="$(find "$WINEPREFIX/drive_c" -path '*Start Menu*' \
        \( -iname '*glyph*' -o -iname '*uninstall*' \))"
    [ "$found" = "$(realpath "$(winepath -u "$start_menu")")/Glyphwright.lnk" ] ||
        fail "the Start menu holds ${found:-nothing}, not Glyphwright.lnk in $start_menu alone"
    editor_opens wine start /unix "$(winepath -u "$start_menu")/Glyphwright.lnk"
    [ "$(cd "$fonts" && wine cmd /c 'glyphwright-cli --version' | tr -d '\r')" = \
      "$version_line" ] ||
        fail "glyphwright-cli is not on PATH in a new Command Prompt"
}

# --- For the current user, as a user without administrator rights installs. Wine runs every
# program as an administrator: what tells a per-user install is where it writes. The prefix is
# given what a user's Windows has: the user's own classes, a PATH of the user's own with a
# variable, an entry that begins like the install's folder and a final semicolon, and a program
# that holds .pf already.
new_prefix user
user_folder="$(wine cmd /c 'echo %LOCALAPPDATA%' | tr -d '\r')\\Programs\\Glyphwright"
user_start_menu="$(wine cmd /c 'echo %APPDATA%' | tr -d '\r')"
user_start_menu="$user_start_menu\\Microsoft\\Windows\\Start Menu\\Programs"
user_path="%USERPROFILE%\\bin;${user_folder}2;"
wine reg add 'HKCU\Software\Classes' /f >/dev/null 2>&1
wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$user_path" /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Classes\.pf' /ve /d Other.Font /f >/dev/null 2>&1
wineserver --wait
machine_state >"$logs/user-before-machine.txt"
user_state >"$logs/user-before.txt"
wine "$setup" /S /CurrentUser
unchanged machine_state user-before-machine.txt ||
    fail "the per-user install changed the machine's files or registry above"
check_installed HKCU "$user_folder" "$user_start_menu"
[ "$(reg_value 'HKCU\Environment' Path)" = "$user_path$user_folder;" ] ||
    fail "the user's PATH is $(reg_value 'HKCU\Environment' Path)"
[ "$(reg_type 'HKCU\Environment' Path)" = REG_EXPAND_SZ ] || fail "the user's PATH lost its type"
# The README's example, as typed in a new Command Prompt in the font's folder.
(cd "$fonts" && wine cmd /c 'glyphwright-cli export font.pf -o font.asm')
cmp "$fonts/font.asm" "$work/linux.asm" || fail "the README's example wrote other bytes"
# .pf: "Open with" offers the editor; the other program stays the default.
[ "$(reg_value 'HKCU\Software\Classes\.pf')" = "" ] || fail "the install took .pf from its program"
wine reg query 'HKCU\Software\Classes\.pf\OpenWithProgids' /v Glyphwright.Font >/dev/null 2>&1 ||
    fail "Open with does not offer Glyphwright"
# The open command, run as Explorer runs it: %1 replaced by the file's full name.
command="$(reg_value 'HKCU\Software\Classes\Glyphwright.Font\shell\open\command')"
[[ "$command" =~ ^\"([^\"]+)\"\ \"%1\"$ ]] || fail "the open command is $command"
[ "${BASH_REMATCH[1]}" = "$user_folder\\glyphwright.exe" ] ||
    fail "the open command starts $command"
editor_opens_file font.pf wine "${BASH_REMATCH[1]}" "$(winepath -w "$fonts/font.pf")"
[ "$(reg_value 'HKCU\Software\Classes\Glyphwright.Font\DefaultIcon')" = \
  "\"$user_folder\\glyphwright.exe\",0" ] || fail "the font files' icon is not the editor's"
# Removed as Add or Remove Programs removes it, by its quiet command.
quiet="$(reg_value "HKCU\\$uninstall_key" QuietUninstallString)"
[[ "$quiet" =~ ^\"([^\"]+)\"\ (.*)$ ]] || fail "the quiet uninstall command is $quiet"
read -ra arguments <<<"${BASH_REMATCH[2]}"
wine "${BASH_REMATCH[1]}" "${arguments[@]}"
wineserver --wait
# Files the uninstaller could only mark for removal go when Windows starts again.
wine wineboot --restart >/dev/null 2>&1
unchanged user_state user-before.txt ||
    fail "the uninstaller left the user's files and values above"
unchanged machine_state user-before-machine.txt || fail "the uninstaller changed the machine's"
echo "test-packages.sh: installed for the current user, on PATH, opening .pf; uninstalled cleanly"

# Double-clicked, the setup goes through its pages with Enter (the licence, for whom, the parts,
# the folder) and installs for the current user; its last page starts Glyphwright.
setup_window() {
    xdotool search --onlyvisible --name "^Glyphwright Setup *$" | head -n 1 | grep .
}
setup_picture() {
    import -window "$(setup_window)" ppm:- | md5sum
}
# Presses Enter in the setup and waits until it shows another page.
next_page() {
    local before
    before="$(setup_picture)"
    xdotool windowactivate --sync "$(setup_window)" key Return
    wait_for "the setup's next page" \
        sh -c "[ \"\$(import -window $(setup_window) ppm:- | md5sum)\" != '$before' ]"
}
wine "$setup" >>"$logs/setup.log" 2>&1 &
wait_for "the setup's window" setup_window || fail "the setup showed no window"
wait_for "the setup's first page" setup_picture
for page in licence users parts folder; do
    next_page || fail "the setup did not leave its $page page"
done
wait_for "the install" wine reg query "HKCU\\$uninstall_key" /v InstallLocation
# The last page, told from the others by the dark blue picture down its left side: the mean
# colour there is far more blue than red (grey on the other pages).
last_page_shown() {
    local mean
    mean="$(import -window "$(setup_window)" -crop 150x300+0+0 -resize 1x1! -depth 8 txt:- |
        grep -o '#[0-9A-F]\{6\}')"
    [ $((16#${mean:5:2} - 16#${mean:1:2})) -gt 64 ]
}
wait_for "the setup's last page" last_page_shown
[ -f "$(winepath -u "$user_folder")/glyphwright.exe" ] ||
    fail "the setup did not install for the current user"
xdotool windowactivate --sync "$(setup_window)" key Return
wait_for "the editor's window" editor_window ||
    fail "the setup's last page did not start Glyphwright"
close_editor
wineserver --wait
echo "test-packages.sh: the setup's pages install for the current user and start Glyphwright"

# A PATH longer than the setup's strings hold (1,024 characters) is left as it was, not cut short,
# by the install over the last one (whose uninstaller runs first) and by the uninstaller.
long_path="$(printf 'C:\\Tools\\%04d;' $(seq 1 100))"
wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$long_path" /f >/dev/null 2>&1
wine "$setup" /S
wineserver --wait
[ "$(reg_value 'HKCU\Environment' Path)" = "$long_path" ] || fail "the setup changed a long PATH"
wine "$(reg_value "HKCU\\$uninstall_key" InstallLocation)\\Uninstall.exe" /S
wineserver --wait
[ "$(reg_value 'HKCU\Environment' Path)" = "$long_path" ] || fail "the uninstaller changed a long PATH"
echo "test-packages.sh: a PATH too long to change is left as it was"

# --- For everyone. The machine's PATH holds an entry that begins like the install's folder.
new_prefix everyone
machine_key='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
machine_path="$(reg_value "$machine_key" Path);C:\\Program Files\\Glyphwright\\bin"
wine reg add "$machine_key" /v Path /t REG_EXPAND_SZ /d "$machine_path" /f >/dev/null 2>&1
wineserver --wait
machine_state >"$logs/everyone-before-machine.txt"
user_state >"$logs/everyone-before.txt"
wine "$setup" /S /AllUsers
unchanged user_state everyone-before.txt ||
    fail "the install for everyone changed the user's files or registry above"
check_installed HKLM 'C:\Program Files\Glyphwright' \
    'C:\ProgramData\Microsoft\Windows\Start Menu\Programs'
[ "$(reg_value "$machine_key" Path)" = "$machine_path;C:\\Program Files\\Glyphwright" ] ||
    fail "the machine's PATH is $(reg_value "$machine_key" Path)"
# No program held .pf: double-clicked, it opens in the editor (Wine's start as Explorer).
editor_opens_file font.pf wine start /unix "$fonts/font.pf"
# Removed by its uninstaller started by hand, without saying for whom: it knows from its folder.
wine 'C:\Program Files\Glyphwright\Uninstall.exe' /S
wineserver --wait
wine wineboot --restart >/dev/null 2>&1
unchanged machine_state everyone-before-machine.txt ||
    fail "the uninstaller left the machine's files and values above"
unchanged user_state everyone-before.txt || fail "the uninstaller changed the user's"
echo "test-packages.sh: installed for everyone, on PATH, opening .pf; uninstalled cleanly"
