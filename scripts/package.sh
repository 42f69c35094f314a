#!/usr/bin/env bash
# Makes the Windows Installer packages and the zips of the suite, one per language:
#   out/package/MaintenanceSuite-<version>-x86.msi and .zip     (from build/i686: what ships)
#   out/package/MaintenanceSuite-<version>-x64.msi and .zip     (from build/x86_64: what the Wine
#                                                                installer test installs)
#   out/package/MaintenanceSuite-<version>-<arch>-ja.msi and .zip   the same in Japanese
#   scripts/package.sh [--version X.Y.Z] [--language en|ja|all] [--no-build] [x86|x64|all]
#   (default: every language and architecture)
# All hold the same tree, "Maintenance Suite\<Program>\<Program>.exe" with the program's
# Settings folder beside it (install/Settings with install/<Program>/Settings laid over it, as
# the build does; a Japanese package then lays install/ja/Settings and install/ja/<Program>/
# Settings over that, so the same programs read the Japanese texts and fonts). The installer's
# source is scripts/suite.wxs, with the program folders harvested by wixl-heat: the package puts
# the tree under Program Files, one Start-menu shortcut per program in "Maintenance Suite", and
# nothing in the registry: the operator's values (remembered printer, firmware folder, sample
# settings) belong to the programs and survive an uninstall. A package with a higher version,
# in any language, replaces an installed older one (fixed upgrade code).
# The version is the project's (CMakeLists.txt); --version overrides it for upgrade tests.
# The stand-in libraries and kdtool are development tools and are not packaged.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT=$ROOT/out/package
PROGRAMS=(Kestrune Sunnabar Trevalo)
PRODUCT="Maintenance Suite"  # as scripts/suite.wxs names it
# Windows language ids of the packages' languages; English is the default.
declare -A LANGUAGE_ID=([en]=1033 [ja]=1041)

usage() {
  echo "usage: scripts/package.sh [--version X.Y.Z] [--language en|ja|all] [--no-build] [x86|x64|all]" >&2
  exit 2
}

version=
build=1
arches=(x86 x64)
languages=(en ja)
while [ $# -gt 0 ]; do
  case $1 in
    --version) [ $# -ge 2 ] || usage; version=$2; shift 2 ;;
    --no-build) build=; shift ;;
    x86 | x64) arches=("$1"); shift ;;
    all) arches=(x86 x64); shift ;;
    --language)
      [ $# -ge 2 ] || usage
      case $2 in
        all) languages=(en ja) ;;
        *) [ -n "${LANGUAGE_ID[$2]:-}" ] || usage; languages=("$2") ;;
      esac
      shift 2 ;;
    *) usage ;;
  esac
done

project_version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$project_version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
# The programs' file version (programs/common/version.h) must be the project's.
file_version=$(sed -n 's/^#define KD_VERSION_TEXT "\(.*\)"/\1/p' programs/common/version.h)
case $file_version in
  "$project_version" | "$project_version".*) ;;
  *) echo "programs/common/version.h has $file_version, CMakeLists.txt $project_version" >&2
     exit 1 ;;
esac
version=${version:-$project_version}
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "version $version is not X.Y.Z" >&2; exit 2; }

if [ -n "$build" ]; then scripts/install-deps.sh package; fi

# The tree that the package installs and the zip holds, in LANGUAGE: the English settings
# (install/Settings, then install/<Program>/Settings, as the build lays them out) and, for
# another language, its texts from install/<language>/ laid over them the same way.
stage() {  # stage BUILD_DIR STAGE LANGUAGE
  local build_dir=$1 stage=$2 language=$3 name source
  local sources=(install)
  if [ "$language" != en ]; then sources+=("install/$language"); fi
  rm -rf "$stage"
  for name in "${PROGRAMS[@]}"; do
    [ -f "$build_dir/bin/$name/$name.exe" ] ||
      { echo "$build_dir/bin/$name/$name.exe is missing (build it, or drop --no-build)" >&2; return 1; }
    mkdir -p "$stage/$PRODUCT/$name/Settings"
    cp "$build_dir/bin/$name/$name.exe" "$stage/$PRODUCT/$name/"
    for source in "${sources[@]}"; do
      cp -r "$source/Settings/." "$stage/$PRODUCT/$name/Settings/"
      if [ -d "$source/$name/Settings" ]; then
        cp -r "$source/$name/Settings/." "$stage/$PRODUCT/$name/Settings/"
      fi
    done
  done
}

# The installer's source is scripts/suite.wxs; each program folder's files come from wixl-heat
# as the component group CG_<Program> under DIR_<Program>, in <Program>.wxs.
harvest() {  # harvest STAGE ARCH (in the work folder)
  local stage=$1 arch=$2 name win64=()
  if [ "$arch" = x64 ]; then win64=(--win64); fi
  for name in "${PROGRAMS[@]}"; do
    (cd "$stage" && find "$PRODUCT/$name" -type f | LC_ALL=C sort |
      wixl-heat --prefix "$PRODUCT/$name/" --directory-ref "DIR_$name" \
        --component-group "CG_$name" --var "var.$name" "${win64[@]}") >"$name.heat" || return 1
    # Its ids hash the path below the prefix, the same in every program folder: each program's
    # ids carry its name.
    sed -E "s/Id=\"(cmp|fil|dir)/Id=\"\\1$name/" "$name.heat" >"$name.wxs"
  done
}

mkdir -p "$OUT"
for arch in "${arches[@]}"; do
  case $arch in
    x86) triple=i686 ;;
    x64) triple=x86_64 ;;
  esac
  build_dir=$ROOT/build/$triple
  if [ -n "$build" ]; then
    echo "== building the programs ($triple)"
    cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$triple.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKD_WERROR=ON -DKD_TESTS=OFF >/dev/null
    cmake --build "$build_dir" -j "${JOBS:-2}" --target "${PROGRAMS[@]}" >/dev/null
  fi
  for language in "${languages[@]}"; do
    suffix=
    if [ "$language" != en ]; then suffix=-$language; fi
    work=$ROOT/build/package/$arch-$version$suffix
    base=MaintenanceSuite-$version-$arch$suffix
    stage "$build_dir" "$work/stage" "$language"
    rm -f "$OUT/$base.msi" "$OUT/$base.zip" "$work"/*.wxs
    win64=no
    if [ "$arch" = x64 ]; then win64=yes; fi
    defines=(-D "Version=$version" -D "Win64=$win64" -D "Language=${LANGUAGE_ID[$language]}")
    for name in "${PROGRAMS[@]}"; do defines+=(-D "$name=stage/$PRODUCT/$name"); done
    # wixl takes sources relative to where it runs only, so the package names them from $work.
    # Its GLib notes on stderr are noise; a failure still shows through the exit status.
    if ! (cd "$work" && harvest stage "$arch" &&
          wixl -a "$arch" "${defines[@]}" -o "$OUT/$base.msi" "$ROOT/scripts/suite.wxs" \
            "${PROGRAMS[@]/%/.wxs}" 2>wixl.log); then
      cat "$work/wixl.log" >&2
      exit 1
    fi
    (cd "$work/stage" && zip -q -r -X "$OUT/$base.zip" "$PRODUCT")
    echo "== $OUT/$base.msi"
    echo "== $OUT/$base.zip"
  done
done
