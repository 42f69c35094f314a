#!/usr/bin/env bash
# Test step: every fuzz target for 20 seconds, when clang and the libFuzzer runtime are here.
set -uo pipefail
cd "$(dirname "$0")/../.."
if ! command -v clang++ >/dev/null 2>&1; then
  echo "skip: clang++ not installed, fuzz targets not run"
  exit 0
fi
if [ -z "$(ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a 2>/dev/null)" ]; then
  echo "skip: libFuzzer runtime (libclang-rt-*-dev) not installed, fuzz targets not run"
  exit 0
fi
exec scripts/fuzz.sh 20
