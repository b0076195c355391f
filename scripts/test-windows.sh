#!/usr/bin/env bash
# Installs what is missing, cross-builds both programs and the tests for 64-bit Windows in
# build-windows/, and runs the Windows tests under Wine:
#   the unit tests (CTest, offscreen, as on Linux, with Windows' own reader, writer, registry
#   lookup and version resources);
#   the companion against the Linux one, byte for byte (tests/windows/test-cli.sh);
#   the editor in a virtual X server, driven as a person would (tests/windows/test_editor.py);
#   the zip and the installer (./scripts/package-windows.sh, tests/windows/test-packages.sh).
# Needs the Windows toolchain in ../shared/toolchains; the Linux build in build/ is built too,
# for its companion to compare with.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${E2E_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
build
build_windows "$WINDOWS_BUILD" RelWithDebInfo
# The unit tests' Wine prefix, made on their first run, lives beside the unpacked toolchain.
export WINEPREFIX="${WINEPREFIX:-$WINDOWS_CACHE/wine}"
(cd "$WINDOWS_BUILD" && ctest --output-on-failure --parallel "$(nproc)")
linux_cli="$BUILD/src/cli/glyphwright-cli"
"$ROOT/tests/windows/test-cli.sh" "$linux_cli" "$WINDOWS_BUILD/glyphwright-cli.exe"
"$ROOT/tests/windows/run-editor-test.sh" "$WINDOWS_BUILD" "$linux_cli" "$WINDOWS_BUILD/editor-logs"
"$ROOT/scripts/package-windows.sh"
"$ROOT/tests/windows/test-packages.sh" "${GLYPHWRIGHT_WINDOWS_PACKAGE_DIR:-$ROOT/build-windows-package}" \
    "$linux_cli" "$WINDOWS_BUILD/package-logs"
