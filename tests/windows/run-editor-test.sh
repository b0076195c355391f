#!/usr/bin/env bash
# Runs the Windows editor under Wine as a person would use it (tests/windows/test_editor.py): in a
# virtual X server with a window manager, inside a Wine desktop, which draws the windows' frames
# as Windows does, in a Wine prefix of its own made afresh.
# Usage: run-editor-test.sh WINDOWS-BUILD-FOLDER LINUX-glyphwright-cli LOG-FOLDER [SCREENSHOT]
# With SCREENSHOT, the editor's window holding the sample font is also saved there as PNG.
# LOG-FOLDER keeps the program's output and the screen as the scenario left it.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=SCRIPTDIR/../xserver.sh
source "$here/../xserver.sh"
export GLYPHWRIGHT_WINDOWS_BUILD="$(realpath "$1")"
export GLYPHWRIGHT_CLI="$(realpath "$2")"
export GLYPHWRIGHT_E2E_LOGS="$(realpath -m "$3")"
export GLYPHWRIGHT_SCREENSHOT="${4:+$(realpath -m "$4")}"
# The end-to-end driver's helpers need a program to name; this one is the Windows editor.
export GLYPHWRIGHT_BINARY="$GLYPHWRIGHT_WINDOWS_BUILD/glyphwright.exe"
export WINEPREFIX="$GLYPHWRIGHT_E2E_LOGS/wine"
export WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
unset QT_QPA_PLATFORM

rm -rf "$GLYPHWRIGHT_E2E_LOGS"
mkdir -p "$GLYPHWRIGHT_E2E_LOGS"
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_x_server
}
trap cleanup EXIT
start_x_server "$GLYPHWRIGHT_E2E_LOGS"
start_window_manager
# Made with the display there, so that Wine draws its windows on it. Wine's default theme draws
# Tahoma at 9 and 10 pixels with parts of the letters missing ("Apply" reads "Applv"); the
# Windows Classic look draws them whole.
"$here/../../cmake/wine-run.sh" --prepare
# A fresh prefix's Documents is a link to the home folder of whoever runs the test: the
# scenario's Documents is a folder of the prefix's own, which the dialogs may write in.
documents="$(winepath -u "$(wine cmd /c 'echo %USERPROFILE%' | tr -d '\r')")/Documents"
rm -f "$documents"
mkdir -p "$documents"
export GLYPHWRIGHT_DOCUMENTS="$documents"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive \
    /t REG_SZ /d 0 /f >/dev/null 2>&1
wineserver --wait

# The scenario uses the end-to-end driver's helpers, which import pyatspi: take the first python3
# on PATH that has it (the system's, when pyenv or a virtual environment comes first).
python="${GLYPHWRIGHT_PYTHON:-}"
if [ -z "$python" ]; then
    for python in $(type -ap python3); do
        "$python" -c "import pyatspi" 2>/dev/null && break
    done
fi
export PYTHONPATH="$here:$here/../e2e${PYTHONPATH:+:$PYTHONPATH}"
timeout 600 "$python" -W ignore::DeprecationWarning -m unittest -v test_editor 2>&1
