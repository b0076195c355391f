#!/usr/bin/env bash
# Installs what is missing, cross-builds both programs for 64-bit Windows in build-windows-package/
# and makes the two Windows packages there: glyphwright-VERSION-win64.zip (run from any folder)
# and glyphwright-VERSION-win64-setup.exe (installs for the current user or for everyone, with a
# Start menu shortcut, the companion on PATH, the .pf association and an uninstaller). Needs the
# Windows toolchain in ../shared/toolchains.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${WINDOWS_PACKAGES[@]}"
PACKAGE_BUILD="${GLYPHWRIGHT_WINDOWS_PACKAGE_DIR:-$ROOT/build-windows-package}"
build_windows "$PACKAGE_BUILD" Release glyphwright glyphwright-cli
(cd "$PACKAGE_BUILD" && cpack -G "NSIS;ZIP" >/dev/null)
ls "$PACKAGE_BUILD"/glyphwright-*-win64.zip "$PACKAGE_BUILD"/glyphwright-*-win64-setup.exe
