#!/usr/bin/env bash
# Installs what Tessaran needs, builds it and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
tessaran_install_packages "${TESSARAN_PACKAGES[@]}"
tessaran_configure_and_build build -DTESSARAN_BUILD_TESTS=OFF -DTESSARAN_BUILD_BENCH=OFF
exec ./build/app/tessaran "$@"
