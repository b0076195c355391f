#!/usr/bin/env bash
# Installs what is missing, builds, and prints the start-up and editor timings (offscreen), then
# the companion's: glyphwright-cli export as a whole process against a bare QCoreApplication.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
ensure_packages "${BUILD_PACKAGES[@]}"
build
"$BUILD/benchmarks/bench_glyphwright"
"$BUILD/benchmarks/bench_fontdialogs"
"$BUILD/benchmarks/bench_cli"
