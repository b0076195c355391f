#!/usr/bin/env bash
# Installs what is missing and builds the Debian packages glyphwright_VERSION_ARCH.deb (the editor)
# and glyphwright-cli_VERSION_ARCH.deb (the companion) in build-package/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev file
PACKAGE_BUILD="$ROOT/build-package"
cmake -S "$ROOT" -B "$PACKAGE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$PACKAGE_BUILD" --parallel --target glyphwright glyphwright-cli
(cd "$PACKAGE_BUILD" && cpack -G DEB >/dev/null)
ls "$PACKAGE_BUILD"/glyphwright_*.deb "$PACKAGE_BUILD"/glyphwright-cli_*.deb
