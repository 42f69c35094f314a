#!/usr/bin/env bash
# Installs what is missing, builds the host and both Windows builds, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
JOBS=${JOBS:-$(nproc)}
OUT=$ROOT/out
mkdir -p "$OUT"

log() { printf '== %s\n' "$*"; }

# --- packages -------------------------------------------------------------
scripts/install-deps.sh test

results=()
step() {  # step NAME COMMAND...
  local name=$1; shift
  local started=$SECONDS
  log "$name"
  if "$@"; then local verdict=PASS; else local verdict=FAIL; fi
  results+=("$verdict $name ($((SECONDS - started)) s)")
}

# --- host build and tests ---------------------------------------------------
# Line tables only: enough for every backtrace and sanitizer report, and a third less compile time
# than full debug information.
LINE_TABLES=(-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" -DCMAKE_CXX_FLAGS_DEBUG="-g1")
host_build() {
  cmake -S . -B build/host -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LINE_TABLES[@]}" -DKD_WERROR=ON \
        -DKD_BENCH=ON >/dev/null &&
  cmake --build build/host -j "$JOBS"
}
host_tests() { ctest --test-dir build/host --output-on-failure -j "$JOBS" --timeout 120; }
sanitizer_build() {
  cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug "${LINE_TABLES[@]}" -DKD_WERROR=ON \
        -DKD_SANITIZE=ON >/dev/null &&
  cmake --build build/asan -j "$JOBS"
}
# The unit suite in one process: a sanitized start costs more than most tests, and the host step
# has already run each test in a process of its own. ctest runs everything else.
sanitizer_tests() {
  export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
  (cd build/asan/tests && ./kd_tests --gtest_brief=1) &&
  ctest --test-dir build/asan --output-on-failure -j "$JOBS" --timeout 300 -LE kd_tests
}
format_check() {
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}
windows_build() {  # windows_build ARCH
  cmake -S . -B "build/$1" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$1.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DKD_WERROR=ON -DKD_TESTS=OFF >/dev/null &&
  cmake --build "build/$1" -j "$JOBS"
}

step "host build" host_build
step "host tests" host_tests
step "format" format_check
step "sanitizer build" sanitizer_build
step "sanitizer tests" sanitizer_tests
step "windows i686 build" windows_build i686
step "windows x86_64 build" windows_build x86_64
for extra in scripts/test.d/*.sh; do
  [ -e "$extra" ] || continue
  step "$(basename "$extra" .sh)" bash "$extra"
done

log "summary"
failed=0
for r in "${results[@]}"; do
  echo "  $r"
  case $r in FAIL*) failed=1 ;; esac
done
passed=$(printf '%s\n' "${results[@]}" | grep -c '^PASS' || true)
echo "SUMMARY: $passed of ${#results[@]} steps passed"
exit $failed
