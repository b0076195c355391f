#!/usr/bin/env bash
# Builds the two Debian packages from this build and checks their fields and files: glyphwright
# (the editor) and glyphwright-cli (the companion, whose dependencies must hold no Gui, Widgets or
# X11 library), and that lintian reports no error and no warning on either. Installs each on its
# own with apt: the companion must run with the editor absent, and the installed editor must show
# its window in a virtual X server. Removes them again.
# Usage: test-package.sh BUILD-DIR. Exits 77 (skipped) without root or password-free sudo.
set -euo pipefail
# shellcheck source=SCRIPTDIR/../xserver.sh
source "$(dirname "$0")/../xserver.sh"
build="$1"
work="$(mktemp -d)"
installed_by_us=0
sudo=""
cleanup() {
    if [ "$installed_by_us" = 1 ]; then
        $sudo apt-get remove -y -qq glyphwright glyphwright-cli >/dev/null 2>&1 || true
    fi
    stop_x_server
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/glyphwright_*_*.deb)
cli_deb=$(ls "$work"/glyphwright-cli_*_*.deb)
echo "packages: $(basename "$deb") $(basename "$cli_deb")"
[[ "$(basename "$deb")" =~ ^glyphwright_1\.0\.15-1_[a-z0-9]+\.deb$ ]] || fail "unexpected file name"
[[ "$(basename "$cli_deb")" =~ ^glyphwright-cli_1\.0\.15-1_[a-z0-9]+\.deb$ ]] || fail "unexpected file name"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = glyphwright ] || fail "Package field"
[ "$(field Version)" = 1.0.15-1 ] || fail "Version field"
depends=$(field Depends)
for dep in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libc6 libstdc++6; do
    grep -q "\b$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/glyphwright ./usr/share/man/man1/glyphwright.1.gz \
    ./usr/share/applications/org.glyphwright.Glyphwright.desktop \
    ./usr/share/metainfo/org.glyphwright.Glyphwright.metainfo.xml \
    ./usr/share/mime/packages/org.glyphwright.Glyphwright.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.glyphwright.Glyphwright.svg; do
    grep -qx -- "$file" <<<"$contents" || fail "package lacks $file"
done
for size in 16 32 48 64 128 256; do
    grep -qx -- "./usr/share/icons/hicolor/${size}x${size}/apps/org.glyphwright.Glyphwright.png" <<<"$contents" \
        || fail "package lacks the ${size} px icon"
done
grep -q "glyphwright-cli" <<<"$contents" && fail "the editor's package holds the companion"

# The companion installs on a build server without a display: Qt Core, nothing graphical.
[ "$(dpkg-deb -f "$cli_deb" Package)" = glyphwright-cli ] || fail "cli Package field"
[ "$(dpkg-deb -f "$cli_deb" Version)" = 1.0.15-1 ] || fail "cli Version field"
cli_depends=$(dpkg-deb -f "$cli_deb" Depends)
# FreeType, libpng and zlib: the companion's font and picture formats.
for dep in libqt6core6 libc6 libstdc++6 libfreetype6 libpng16-16 zlib1g; do
    grep -q "\b$dep\b" <<<"$cli_depends" || fail "cli Depends lacks $dep: $cli_depends"
done
if grep -Eq "libqt6gui|libqt6widgets|qt6-qpa-plugins|libx11|libxcb|libgl|libegl" <<<"$cli_depends"; then
    fail "cli Depends holds a graphical library: $cli_depends"
fi
cli_contents=$(dpkg-deb -c "$cli_deb" | awk '{print $6}')
for file in ./usr/bin/glyphwright-cli ./usr/share/man/man1/glyphwright-cli.1.gz; do
    grep -qx -- "$file" <<<"$cli_contents" || fail "cli package lacks $file"
done
grep -q "glyphwright\.\|/bin/glyphwright$" <<<"$cli_contents" && fail "the cli package holds editor files"
# What Debian asks of every package; lintian checks the rest of it below.
for package in "$deb" "$cli_deb"; do
    name=$(dpkg-deb -f "$package" Package)
    for file in copyright changelog.Debian.gz; do
        dpkg-deb -c "$package" | awk '{print $6}' | grep -qx -- "./usr/share/doc/$name/$file" \
            || fail "$name lacks /usr/share/doc/$name/$file"
    done
    # The newest changelog entry is this version's.
    first_entry=$(dpkg-deb --fsys-tarfile "$package" \
        | tar -xOf - "./usr/share/doc/$name/changelog.Debian.gz" | gzip -dc | head -n 1)
    [[ "$first_entry" == "glyphwright ($(dpkg-deb -f "$package" Version)) "* ]] \
        || fail "$name: the changelog's newest entry is not this version's: $first_entry"
done
echo "fields and files: ok"

# Debian 12's lintian: no error and no warning; an override in a package says why in a comment.
# Info and pedantic tags are shown too. Run as an unprivileged user where we are root.
command -v lintian >/dev/null || fail "lintian is missing (scripts/test.sh installs it)"
as_user=()
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    chmod 755 "$work"
    chmod 644 "$deb" "$cli_deb"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/nonexistent)
fi
"${as_user[@]}" lintian --display-info --pedantic --fail-on error,warning "$deb" "$cli_deb" \
    || fail "lintian reports errors or warnings"
echo "lintian: ok"

if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then sudo="sudo"; else
        echo "SKIP: installing needs root or password-free sudo"
        exit 77
    fi
fi
for package in glyphwright glyphwright-cli; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        echo "SKIP: $package is installed on this machine already; not touching it"
        exit 77
    fi
done
cp "$deb" "$work/install.deb"
cp "$cli_deb" "$work/install-cli.deb"
chmod 644 "$work/install.deb" "$work/install-cli.deb"
chmod 755 "$work"
installed_by_us=1

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$work/install-cli.deb" >/dev/null
[ -x /usr/bin/glyphwright-cli ] || fail "glyphwright-cli not installed in /usr/bin"
[ ! -e /usr/bin/glyphwright ] || fail "installing glyphwright-cli brought the editor"
[ "$(/usr/bin/glyphwright-cli --version)" = "glyphwright-cli 1.0.15" ] || fail "glyphwright-cli --version"
head -c 2048 /dev/zero >"$work/font.pf"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/glyphwright-cli export "$work/font.pf" -o "$work/font.asm" \
    || fail "the installed glyphwright-cli cannot export"
/usr/bin/glyphwright-cli check "$work/font.pf" "$work/font.asm" || fail "the installed glyphwright-cli check"
[ "$(man -w glyphwright-cli)" = /usr/share/man/man1/glyphwright-cli.1.gz ] \
    || fail "man does not find the manual page"
# The companion stays free of Qt Gui, Qt Widgets and X11, so it runs on a build server without
# a display: it needs none of their libraries and works with no display set.
if readelf -d /usr/bin/glyphwright-cli | grep -E 'NEEDED.*(Qt6Gui|Qt6Widgets|libX11|libxcb|libGL)'; then
    fail "glyphwright-cli needs a display library"
fi
head -c 2048 /dev/urandom >"$work/random.pf"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/glyphwright-cli convert "$work/random.pf" \
    -o "$work/font.psf" || fail "the installed glyphwright-cli could not convert a font"
env -u DISPLAY -u WAYLAND_DISPLAY /usr/bin/glyphwright-cli import "$work/font.psf" -o "$work/back.pf" \
    2>/dev/null || fail "the installed glyphwright-cli could not import a PSF"
cmp -s "$work/random.pf" "$work/back.pf" || fail "the installed glyphwright-cli changed the font"
echo "companion without a display: ok"
$sudo apt-get remove -y -qq glyphwright-cli >/dev/null
[ ! -e /usr/bin/glyphwright-cli ] || fail "glyphwright-cli still in /usr/bin after removal"
echo "glyphwright-cli on its own: installed, ran, removed: ok"

DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$work/install.deb" >/dev/null
[ -x /usr/bin/glyphwright ] || fail "not installed in /usr/bin"
[ ! -e /usr/bin/glyphwright-cli ] || fail "installing the editor brought glyphwright-cli"
# Every installed file the manual page names is there (the companion's is in its own package).
[ "$(man -w glyphwright)" = /usr/share/man/man1/glyphwright.1.gz ] || fail "man does not find glyphwright(1)"
named=$(MANWIDTH=200 man glyphwright 2>/dev/null | sed -n '/^FILES/,/^[A-Z]/p' | grep -o '/usr/[^ ]*' \
    | grep -v '/bin/glyphwright-cli$')
[ "$(wc -l <<<"$named")" -ge 3 ] || fail "glyphwright(1) names no installed files: $named"
for pattern in $named; do
    compgen -G "$pattern" >/dev/null || fail "glyphwright(1) names $pattern, which is not installed"
done
# dpkg's trigger rebuilt the system's type database: file managers now know a .pf file.
grep -q ':application/x-glyphwright-font:\*\.pf$' /usr/share/mime/globs2 \
    || fail "the installed type database does not know *.pf"
echo "installed with apt: ok"

# In an X server of its own with a window manager, as the end-to-end tests run the program.
start_x_server "$work/x" || fail "no X server could be started"
start_window_manager || fail "the window manager did not start"
env -u QT_QPA_PLATFORM /usr/bin/glyphwright >"$work/x/glyphwright.log" 2>&1 &
editor=$!
editor_window_shown() {
    xdotool search --onlyvisible --name "^8x8 ROM Glyphwright Editor$"
}
wait_for "the editor's window" editor_window_shown || fail "the installed program showed no window"
kill "$editor"
wait "$editor" 2>/dev/null || true
stop_x_server
echo "installed program shows its window: ok"

$sudo apt-get remove -y -qq glyphwright >/dev/null
installed_by_us=0
[ ! -e /usr/bin/glyphwright ] || fail "still in /usr/bin after removal"
grep -q ':application/x-glyphwright-font:' /usr/share/mime/globs2 \
    && fail "the type database still knows *.pf after removal"
echo "removed: ok"
echo "2 packages passed, 0 failed"
