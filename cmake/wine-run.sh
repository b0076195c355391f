#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: CTest's emulator for the Windows build.
# Usage: wine-run.sh PROGRAM.exe [ARGUMENTS...]   or   wine-run.sh --prepare
# The Wine prefix (WINEPREFIX, by default Glyphwright's own in the cache folder that also holds
# the toolchain) is made once, before the first program, so that tests started side by side
# never race to make it; --prepare only makes it (the Windows test scripts make fresh ones).
# Wine's own messages are off unless WINEDEBUG says otherwise.
set -uo pipefail
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/glyphwright-windows/wine}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-winemenubuilder.exe=d}"
# Wine keeps the host's QT_ variables from Windows programs unless they come as WINEQT_.
for name in $(compgen -e); do
    case "$name" in
        QT_*) export "WINE$name=${!name}" ;;
    esac
done
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            wine wineboot --init >/dev/null 2>&1
            wineserver --wait
        fi
    ) 9>"$WINEPREFIX.lock"
fi
# Wine's own fonts, in the prefix's Fonts folder as a Windows system's are in its own: Qt's
# offscreen platform reads the folder, and Wine draws its dialogs and window frames (the
# Marlett symbols of their buttons) with fonts from it.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ ! -e "$fonts/tahoma.ttf" ]; then
    ln -sf /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null
fi

[ "$1" = --prepare ] && exit 0

# Qt Test's console output does not reach a pipe under Wine: a Qt Test program writes its
# results to a file, which is shown once it ends; its exit status is the program's.
program="$1"
if grep -qa "Qt6Test.dll" "$program" && ! printf '%s\n' "$@" | grep -qx -- "-o"; then
    results="$(mktemp --suffix=.txt)"
    wine "$@" -o "$results,txt"
    status=$?
    cat "$results"
    rm -f "$results"
    exit "$status"
fi
exec wine "$@"
