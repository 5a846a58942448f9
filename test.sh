#!/usr/bin/env bash
# Installs what Tessaran needs, builds it with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
tessaran_install_packages "${TESSARAN_PACKAGES[@]}" "${TESSARAN_TEST_PACKAGES[@]}"
tessaran_comma_locale
tessaran_configure_and_build build-tests -DTESSARAN_BUILD_TESTS=ON -DTESSARAN_BUILD_BENCH=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure -j "$(nproc)" --timeout 300
