#!/usr/bin/env bash
# Installs what Tessaran needs, builds it with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
tessaran_install_packages "${TESSARAN_PACKAGES[@]}" "${TESSARAN_TEST_PACKAGES[@]}"
tessaran_comma_locale
tessaran_configure_and_build build-tests -DTESSARAN_BUILD_TESTS=ON -DTESSARAN_BUILD_BENCH=ON

# Bounded fuzz runs: every fuzz target tests/fuzz/<name>_fuzz.cpp that has a
# seed corpus in tests/data/fuzz/<name>/ runs for fuzz_seconds, in a clang
# build of its own where all the code is instrumented. New inputs go to a
# scratch copy of the corpus, never into the checkout.
# At 20 seconds each the dozen or so targets stay within about five minutes.
fuzz_seconds=20
fuzz_targets=()
for corpus in tests/data/fuzz/*/; do
  [ -d "$corpus" ] || continue
  name=$(basename "$corpus")
  [ -f "tests/fuzz/${name}_fuzz.cpp" ] && fuzz_targets+=("${name}_fuzz")
done
if ((${#fuzz_targets[@]})); then
  if [ ! -f build-fuzz/CMakeCache.txt ]; then
    fuzz_generator=()
    command -v ninja >/dev/null && fuzz_generator=(-G Ninja)
    CC=clang CXX=clang++ cmake -S . -B build-fuzz "${fuzz_generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTESSARAN_FUZZ=ON -DTESSARAN_BUILD_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
  fi
  cmake --build build-fuzz -j "$(nproc)" --target "${fuzz_targets[@]}"
  for target in "${fuzz_targets[@]}"; do
    fuzz_work=$(mktemp -d)
    cp -r "tests/data/fuzz/${target%_fuzz}/." "$fuzz_work/"
    echo "Fuzzing $target for $fuzz_seconds seconds"
    if ! "build-fuzz/tests/$target" -max_total_time=$fuzz_seconds -timeout=20 -rss_limit_mb=4096 "$fuzz_work" \
      >"$fuzz_work.log" 2>&1; then
      cat "$fuzz_work.log"
      exit 1
    fi
    tail -n 1 "$fuzz_work.log"
    rm -rf "$fuzz_work" "$fuzz_work.log"
  done
fi

export QT_QPA_PLATFORM=offscreen
ctest --test-dir build-tests --output-on-failure -j "$(nproc)" --timeout 300
