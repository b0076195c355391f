#!/usr/bin/env bash
# Installs what is missing and builds the Debian packages glyphwright_VERSION-1_ARCH.deb (the
# editor) and glyphwright-cli_VERSION-1_ARCH.deb (the companion) in build-package/, with their
# manual pages and Debian changelog.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev file
PACKAGE_BUILD="$ROOT/build-package"
cmake -S "$ROOT" -B "$PACKAGE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$PACKAGE_BUILD" --parallel --target glyphwright glyphwright-cli manual_pages debian_changelog
(cd "$PACKAGE_BUILD" && cpack -G DEB >/dev/null)
ls "$PACKAGE_BUILD"/glyphwright_*.deb "$PACKAGE_BUILD"/glyphwright-cli_*.deb
