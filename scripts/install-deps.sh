#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages that a script of this project needs and that are missing.
# scripts/test.sh and scripts/demo.sh run it first, so either works on a fresh machine.
#   scripts/install-deps.sh [test|demo|package]   (default: test, which is everything)
#     demo      cmake, the MinGW compilers, wine64, Xvfb, ImageMagick, xdotool, and for the
#               Japanese runs the locale ja_JP.UTF-8 (generated) and the VL Gothic fonts
#     package   cmake, the MinGW compilers, wixl (msitools) and zip
#     test      all of the above, host compilers, clang and its fuzzer runtime, gtest, benchmark
# As root it runs apt-get itself; otherwise through `sudo -n` when that needs no password;
# otherwise it names the packages to install and exits 1. KD_DEPS_DRY_RUN=1 only prints them.
set -euo pipefail

profile=${1:-test}
case $profile in
  test | demo | package) ;;
  *) echo "usage: scripts/install-deps.sh [test|demo|package]" >&2; exit 2 ;;
esac

need=()
want() {  # want COMMAND PACKAGE...: the packages when COMMAND is not on the PATH
  local cmd=$1; shift
  command -v "$cmd" >/dev/null 2>&1 || need+=("$@")
}
want_file() {  # want_file PATH PACKAGE...
  local path=$1; shift
  [ -e "$path" ] || need+=("$@")
}

# What the profiles share: the x86_64 and i686 Windows builds.
want cmake cmake
want x86_64-w64-mingw32-g++-posix g++-mingw-w64-x86-64
want i686-w64-mingw32-g++-posix g++-mingw-w64-i686
if [ "$profile" != package ]; then
  want_file /usr/lib/wine/wine64 wine wine64
  want Xvfb xvfb
  want import imagemagick
  want xdotool xdotool
  # Wine takes a process's code page from its locale: the Japanese runs need ja_JP.UTF-8, and a
  # Japanese font whose glyphs are named by Unicode in the PostScript it prints.
  want localedef locales
  want_file /usr/share/fonts/truetype/vlgothic/VL-PGothic-Regular.ttf fonts-vlgothic
fi
if [ "$profile" != demo ]; then
  want wixl wixl
  want msiinfo msitools
  want zip zip
fi
if [ "$profile" = test ]; then
  want g++ g++
  want clang++ clang
  want clang-format clang-format
  want_file /usr/include/gtest/gtest.h libgtest-dev libgmock-dev
  want_file /usr/include/benchmark/benchmark.h libbenchmark-dev
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
  else
    as_root=(none)
  fi
fi

installed_update=
apt_install() {  # apt_install PACKAGE...
  if [ "${KD_DEPS_DRY_RUN:-0}" = 1 ]; then
    echo "would install: $*"
    return 0
  fi
  if [ "${as_root[0]:-}" = none ]; then
    echo "missing packages: $*" >&2
    echo "install them as root (apt-get install $*) or run this as a user with sudo" >&2
    exit 1
  fi
  echo "== installing: $*"
  if [ -z "$installed_update" ]; then
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    installed_update=1
  fi
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null
}

# Deduplicated, in order.
if [ ${#need[@]} -gt 0 ]; then
  mapfile -t need < <(printf '%s\n' "${need[@]}" | awk '!seen[$0]++')
  apt_install "${need[@]}"
fi

# The Japanese locale, generated once (Debian also lists it in /etc/locale.gen, so that a later
# locale-gen keeps it).
if [ "$profile" != package ] && ! locale -a 2>/dev/null | grep -qixE 'ja_JP\.utf-?8'; then
  if [ "${KD_DEPS_DRY_RUN:-0}" = 1 ]; then
    echo "would generate the locale ja_JP.UTF-8"
  elif [ "${as_root[0]:-}" = none ]; then
    echo "the locale ja_JP.UTF-8 is missing: generate it as root" \
      "(localedef -i ja_JP -f UTF-8 ja_JP.UTF-8)" >&2
    exit 1
  else
    echo "== generating the locale ja_JP.UTF-8"
    if [ -f /etc/locale.gen ] && ! grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
      "${as_root[@]}" sh -c "echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen"
    fi
    "${as_root[@]}" localedef -i ja_JP -c -f UTF-8 ja_JP.UTF-8
  fi
fi

# The fuzzer runtime must match the clang that is installed, whichever version that is: a
# runtime of another version would not be found by it. Asked only after clang is in place.
fuzzer_runtime_present() {  # MAJOR
  compgen -G "/usr/lib/llvm-$1/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a" >/dev/null ||
    compgen -G "/usr/lib/llvm-$1/lib/clang/*/lib/x86_64-*linux-gnu/libclang_rt.fuzzer.a" >/dev/null
}
if [ "$profile" = test ] && command -v clang++ >/dev/null 2>&1; then
  major=$(clang++ --version | sed -n '1s/.*clang version \([0-9][0-9]*\).*/\1/p')
  if [ -n "$major" ] && ! fuzzer_runtime_present "$major"; then
    # Debian from 14 on ships it apart; older releases and Ubuntu keep it in libclang-common.
    if apt-cache show "libclang-rt-$major-dev" >/dev/null 2>&1; then
      apt_install "libclang-rt-$major-dev"
    else
      apt_install "libclang-common-$major-dev"
    fi
  fi
fi
exit 0
