#!/usr/bin/env bash
# Retakes docs/screenshot-windows.png: the Windows editor under Wine, holding a font of capital
# letters and digits with the A selected, taken while tests/windows/test_editor.py runs.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${E2E_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
build
build_windows "$WINDOWS_BUILD" RelWithDebInfo
"$ROOT/tests/windows/run-editor-test.sh" "$WINDOWS_BUILD" "$BUILD/src/cli/glyphwright-cli" \
    "$WINDOWS_BUILD/screenshot-logs" "$ROOT/docs/screenshot-windows.png"
