#!/usr/bin/env bash
# Installs the Debian packages Tessaran needs to build, run and test, only
# those that are missing. Sourced by run.sh and test.sh.
set -euo pipefail

TESSARAN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev
  zlib1g-dev libssl-dev libjpeg-dev libfreetype-dev libharfbuzz-dev libfribidi-dev libfontconfig-dev libxlsxwriter-dev
  libeigen3-dev
  fonts-liberation2 fonts-dejavu-core xdg-utils
)
TESSARAN_TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev
  qpdf poppler-utils openssl python3-fonttools fonts-droid-fallback libemf2svg-dev clang libclang-rt-dev locales python3-fluids python3-openpyxl
)

tessaran_install_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# A comma-decimal locale for the formatter tests.
tessaran_comma_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null || true
  fi
  if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo "The comma-decimal locale de_DE.UTF-8 could not be installed." >&2
    return 1
  fi
}

tessaran_configure_and_build() {
  local build_dir=$1
  shift
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
  fi
  cmake --build "$build_dir" -j "$(nproc)"
}
