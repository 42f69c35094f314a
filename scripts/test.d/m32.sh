#!/usr/bin/env bash
# Step of scripts/test.sh: the shipped word size. The core, the simulated printer, both stand-in
# libraries (stdcall and cdecl) and the host suite built with g++ -m32 and run under qemu-i386,
# and every parser's committed fuzz corpus replayed once through the 32-bit build.
set -euo pipefail
cd "$(dirname "$0")/../.."
JOBS=${JOBS:-$(nproc)}
BUILD=build/m32

need=()
command -v qemu-i386 >/dev/null 2>&1 || need+=(qemu-user)
echo 'int main() { return 0; }' | g++ -m32 -x c++ - -o /dev/null 2>/dev/null || need+=(g++-multilib)
[ -e /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
fi

# Line tables only, as in the host step.
cmake -S . -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$(pwd)/cmake/host-m32.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
      -DKD_WERROR=ON >/dev/null
cmake --build "$BUILD" -j "$JOBS" >"$BUILD/build.log" 2>&1 || { tail -40 "$BUILD/build.log"; exit 1; }
# The unit suite in one emulated process (each start of qemu-i386 costs more than most tests);
# ctest starts everything else through qemu-i386, the toolchain's emulator.
(cd "$BUILD/tests" && qemu-i386 -L / ./kd_tests --gtest_brief=1) || exit 1
if ! ctest --test-dir "$BUILD" --output-on-failure -j "$JOBS" --timeout 300 -LE kd_tests \
     >"$BUILD/ctest.log"; then
  grep -v ' Passed ' "$BUILD/ctest.log" | tail -120
  exit 1
fi
tail -3 "$BUILD/ctest.log"
