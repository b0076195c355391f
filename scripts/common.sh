# Shared by run.sh and test.sh: install what is missing, then build incrementally.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${GLYPHWRIGHT_BUILD_DIR:-$ROOT/build}"

# Installs the Debian/Ubuntu packages that are not installed yet, with sudo unless root.
ensure_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# FreeType, zlib and libpng: the companion's font and picture formats.
BUILD_PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins libgl-dev
                libfreetype-dev zlib1g-dev libpng-dev)
# The end-to-end tests: a virtual X server, a window manager, input, screenshots, the clipboard
# and the accessibility bus; qt6ct gives them a dark colour scheme and a large desktop font.
E2E_PACKAGES=(xvfb xauth openbox xdotool x11-utils xclip imagemagick dbus dbus-x11 at-spi2-core
              python3 python3-pyatspi gir1.2-atspi-2.0 qt6ct)
# Checks of the desktop entry, the AppStream metadata, the Debian packages (lintian, which also
# brings man for the manual pages' checks), that an export assembles (gpasm) and that the README's
# firmware routines read it back (gpsim), the README's Makefile and git snippets for
# glyphwright-cli (make, git), and that the companion reads PCF fonts made by another tool
# (bdftopcf).
PACKAGE_TEST_PACKAGES=(desktop-file-utils appstream dpkg-dev file lintian gputils gpsim make git
                       xfonts-utils)

# Configures once, then builds everything, or what the arguments name (--target glyphwright).
build() {
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    cmake --build "$BUILD" --parallel "$@"
}
