#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${E2E_PACKAGES[@]}" "${PACKAGE_TEST_PACKAGES[@]}"
build
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
