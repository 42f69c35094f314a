#!/usr/bin/env bash
# Makes the Windows Installer package and the zip of the suite:
#   out/package/MaintenanceSuite-<version>-x86.msi and .zip   (from build/i686: what ships)
#   out/package/MaintenanceSuite-<version>-x64.msi and .zip   (from build/x86_64: what the Wine
#                                                              installer test installs)
#   scripts/package.sh [--version X.Y.Z] [--no-build] [x86|x64|all]   (default: all)
# Both hold the same tree, "Maintenance Suite\<Program>\<Program>.exe" with the program's
# Settings folder beside it (install/Settings with install/<Program>/Settings laid over it, as
# the build does). The package puts the tree under Program Files, one Start-menu shortcut per
# program in "Maintenance Suite", and nothing in the registry: the operator's values (remembered
# printer, firmware folder, sample settings) belong to the programs and survive an uninstall.
# A package with a higher version replaces an installed older one (fixed upgrade code).
# The version is the project's (CMakeLists.txt); --version overrides it for upgrade tests.
# The stand-in libraries and kdtool are development tools and are not packaged.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
OUT=$ROOT/out/package
PROGRAMS=(Kestrune Sunnabar Trevalo)
PRODUCT="Maintenance Suite"
MANUFACTURER="Maintenance Suite"
# Never change it: Windows Installer finds the older installation through it.
UPGRADE_CODE=5f0b6a3e-2c71-4d8a-9e4b-7a13c6d2e905
# The Start-menu folder's component has no file to key on, so its code is fixed, one per arch.
declare -A MENU_COMPONENT_GUID=([x86]=5f0b6a3e-2c71-4d8a-9e4b-7a13c6d2e910
                                [x64]=5f0b6a3e-2c71-4d8a-9e4b-7a13c6d2e964)
# Likewise the component that removes the suite's folder once the programs' folders are gone.
declare -A FOLDER_COMPONENT_GUID=([x86]=5f0b6a3e-2c71-4d8a-9e4b-7a13c6d2e920
                                  [x64]=5f0b6a3e-2c71-4d8a-9e4b-7a13c6d2e974)

usage() { echo "usage: scripts/package.sh [--version X.Y.Z] [--no-build] [x86|x64|all]" >&2; exit 2; }

version=
build=1
arches=(x86 x64)
while [ $# -gt 0 ]; do
  case $1 in
    --version) [ $# -ge 2 ] || usage; version=$2; shift 2 ;;
    --no-build) build=; shift ;;
    x86 | x64) arches=("$1"); shift ;;
    all) arches=(x86 x64); shift ;;
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

xml() {  # escapes a text for an XML attribute
  local s=${1//&/&amp;}
  s=${s//</&lt;}
  s=${s//>/&gt;}
  printf '%s' "${s//\"/&quot;}"
}

# Ids of the package's tables: one running number, no subshells (they would lose the count).
next_id=0
new_id() { next_id=$((next_id + 1)); ID=$1$next_id; }

# Writes the Directory/Component elements of the folder DIR (a staged Unix path) and appends
# each component's id to the COMPONENTS array.
COMPONENTS=()
emit_folder() {  # emit_folder DIR INDENT WIN64
  local dir=$1 indent=$2 win64=$3 entry
  for entry in "$dir"/*; do
    [ -e "$entry" ] || continue
    new_id x
    if [ -d "$entry" ]; then
      printf '%s<Directory Id="D%s" Name="%s">\n' "$indent" "$ID" "$(xml "${entry##*/}")"
      emit_folder "$entry" "$indent  " "$win64"
      printf '%s</Directory>\n' "$indent"
    else
      COMPONENTS+=("C$ID")
      printf '%s<Component Id="C%s" Guid="*" Win64="%s">\n' "$indent" "$ID" "$win64"
      printf '%s  <File Id="F%s" Name="%s" Source="%s" KeyPath="yes"/>\n' "$indent" \
        "$ID" "$(xml "${entry##*/}")" "$(xml "$entry")"
      printf '%s</Component>\n' "$indent"
    fi
  done
}

# The tree that the package installs and the zip holds.
stage() {  # stage BUILD_DIR STAGE
  local build_dir=$1 stage=$2 name
  rm -rf "$stage"
  for name in "${PROGRAMS[@]}"; do
    [ -f "$build_dir/bin/$name/$name.exe" ] ||
      { echo "$build_dir/bin/$name/$name.exe is missing (build it, or drop --no-build)" >&2; return 1; }
    mkdir -p "$stage/$PRODUCT/$name/Settings"
    cp "$build_dir/bin/$name/$name.exe" "$stage/$PRODUCT/$name/"
    cp -r install/Settings/. "$stage/$PRODUCT/$name/Settings/"
    if [ -d "install/$name/Settings" ]; then
      cp -r "install/$name/Settings/." "$stage/$PRODUCT/$name/Settings/"
    fi
  done
}

write_wxs() {  # write_wxs STAGE ARCH WXS
  local stage=$1 arch=$2 win64=no files_folder=ProgramFilesFolder menu_guid name c
  if [ "$arch" = x64 ]; then win64=yes; files_folder=ProgramFiles64Folder; fi
  menu_guid=${MENU_COMPONENT_GUID[$arch]}
  COMPONENTS=()
  next_id=0
  {
    cat <<EOF
<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="$PRODUCT" Language="1033" Version="$version"
           Manufacturer="$MANUFACTURER" UpgradeCode="$UPGRADE_CODE">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"
             Description="$PRODUCT $version"/>
    <MajorUpgrade DowngradeErrorMessage="A newer version of $PRODUCT is already installed."/>
    <Media Id="1" Cabinet="suite.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="$files_folder">
        <Directory Id="INSTALLDIR" Name="$PRODUCT">
          <Component Id="InstallFolder" Guid="${FOLDER_COMPONENT_GUID[$arch]}" Win64="$win64">
            <RemoveFolder Id="RemoveInstallDir" On="uninstall"/>
          </Component>
EOF
    for name in "${PROGRAMS[@]}"; do
      printf '          <Directory Id="DIR_%s" Name="%s">\n' "$name" "$name"
      emit_folder "$stage/$PRODUCT/$name" "            " "$win64"
      printf '          </Directory>\n'
    done
    cat <<EOF
        </Directory>
      </Directory>
      <Directory Id="ProgramMenuFolder">
        <Directory Id="MENUDIR" Name="$PRODUCT">
          <Component Id="StartMenu" Guid="$menu_guid" Win64="$win64">
EOF
    for name in "${PROGRAMS[@]}"; do
      printf '            <Shortcut Id="SC_%s" Name="%s" Target="[DIR_%s]%s.exe" WorkingDirectory="DIR_%s"/>\n' \
        "$name" "$name" "$name" "$name" "$name"
    done
    cat <<EOF
            <RemoveFolder Id="RemoveMenuDir" On="uninstall"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Suite" Level="1">
      <ComponentRef Id="InstallFolder"/>
      <ComponentRef Id="StartMenu"/>
EOF
    for c in "${COMPONENTS[@]}"; do printf '      <ComponentRef Id="%s"/>\n' "$c"; done
    cat <<EOF
    </Feature>
  </Product>
</Wix>
EOF
  } >"$3"
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
  work=$ROOT/build/package/$arch-$version
  base=MaintenanceSuite-$version-$arch
  stage "$build_dir" "$work/stage"
  rm -f "$OUT/$base.msi" "$OUT/$base.zip"
  # wixl takes sources relative to where it runs only, so the package names them from $work.
  # Its GLib notes on stderr are noise; a failure still shows through the exit status.
  if ! (cd "$work" && write_wxs stage "$arch" suite.wxs &&
        wixl -a "$arch" -o "$OUT/$base.msi" suite.wxs 2>wixl.log); then
    cat "$work/wixl.log" >&2
    exit 1
  fi
  (cd "$work/stage" && zip -q -r -X "$OUT/$base.zip" "$PRODUCT")
  echo "== $OUT/$base.msi"
  echo "== $OUT/$base.zip"
done
