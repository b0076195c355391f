#!/usr/bin/env bash
# Installs what is missing, builds, and prints the start-up and editor timings (offscreen).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}"
build
exec "$BUILD/benchmarks/bench_glyphwright"
