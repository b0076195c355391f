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
# Checks of the desktop entry, the AppStream metadata, the font files' type (shared-mime-info),
# the Debian packages (lintian, which also brings man for the manual pages' checks), that an
# export assembles (gpasm) and that the README's firmware routines read it back (gpsim), the
# README's Makefile and git snippets for glyphwright-cli (make, git), that the companion reads
# PCF fonts made by another tool (bdftopcf), that a signal at any moment of a write leaves no
# temporary file (strace holds the writer at one), a TrueType font to draw into the cell
# (DejaVu Sans Mono), and that its C tables stay in an AVR's flash and run there (gcc-avr,
# avr-libc, simavr) and in a Cortex-M0's .rodata (gcc-arm-none-eabi).
PACKAGE_TEST_PACKAGES=(desktop-file-utils appstream shared-mime-info dpkg-dev file lintian gputils
                       gpsim make git xfonts-utils strace fonts-dejavu-core gcc-avr avr-libc simavr
                       gcc-arm-none-eabi)

# The Windows build: MinGW-w64 and MinGW's zlib, Wine to run the programs and tests (with
# Windows-like fonts), NSIS for the installer, and the Linux Qt's moc, rcc and uic.
WINDOWS_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 wine
                  fonts-wine nsis qt6-base-dev-tools unzip)
WINDOWS_BUILD="${GLYPHWRIGHT_WINDOWS_BUILD_DIR:-$ROOT/build-windows}"
# Qt, FreeType and libpng built for Windows come from the shared toolchains folder beside the
# clone; they are unpacked once into the cache folder, which also holds the Wine prefix that
# cmake/wine-run.sh runs the tests in.
WINDOWS_TOOLCHAINS="${GLYPHWRIGHT_WINDOWS_TOOLCHAINS:-$ROOT/../shared/toolchains}"
WINDOWS_CACHE="${GLYPHWRIGHT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/glyphwright-windows}"

# Prints the Windows Qt prefix, unpacking it first if needed; fails when there is no toolchain.
windows_qt_prefix() {
    if [ ! -x "$WINDOWS_TOOLCHAINS/windows-toolchain.sh" ]; then
        echo "$(basename "$0"): no Windows toolchain in $WINDOWS_TOOLCHAINS" >&2
        return 1
    fi
    "$WINDOWS_TOOLCHAINS/windows-toolchain.sh" "$WINDOWS_CACHE"
}

# Configures (once) and builds a Windows build folder: build_windows FOLDER BUILD-TYPE [TARGET...]
build_windows() {
    local folder="$1" type="$2" prefix
    shift 2
    prefix="$(windows_qt_prefix)"
    if [ ! -f "$folder/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE="$type" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" -DGLYPHWRIGHT_WINDOWS_QT="$prefix" \
            >/dev/null
    fi
    if [ $# -gt 0 ]; then
        cmake --build "$folder" --parallel --target "$@"
    else
        cmake --build "$folder" --parallel
    fi
}

# Configures once, then builds everything, or what the arguments name (--target glyphwright).
build() {
    if [ ! -f "$BUILD/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    cmake --build "$BUILD" --parallel "$@"
}
