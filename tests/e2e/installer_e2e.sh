#!/usr/bin/env bash
# The Windows Installer package under Wine: in a fresh prefix under a private Xvfb, the x64
# package of scripts/package.sh installs quietly; Kestrune starts from its Start-menu shortcut
# against the simulated printer and closes through its confirmation; a package of a higher
# version replaces it (one product entry afterwards); the uninstall leaves no installed file,
# folder or shortcut, and the operator's registry values as they were. Then, in a second prefix
# whose every Wine call runs under ja_JP.UTF-8 (code page 932), the Japanese x64 package
# installs its tree, Kestrune shows its Japanese texts byte for byte as the settings hold them
# and closes through its Japanese confirmation, and the uninstall leaves nothing behind. Every
# wait is bounded.
set -euo pipefail
cd "$(dirname "$0")/../.."
KD_ROOT=$(pwd)
# shellcheck source=tests/e2e/e2e_lib.sh
source "$KD_ROOT/tests/e2e/e2e_lib.sh"

# Wine would otherwise copy each Start-menu shortcut into the desktop's menus of this machine.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"

kd_e2e_suite "installer e2e" installer-e2e wine-installer
PACKAGES=$KD_ROOT/out/package
NAME=Kestrune  # also the main window's caption, text 400
PRODUCT="Maintenance Suite"

[ -x "$WINELOADER" ] || fail "wine64 is not installed"
command -v wixl >/dev/null || fail "wixl is not installed (scripts/install-deps.sh)"

log "building the x86_64 programs, kddriver and the simulated printer"
kd_windows_build Kestrune Sunnabar Trevalo kddriver kbapi_standin kdsim ||
  fail "the x86_64 build failed"
kd_control_ids kestrune || fail "no control ids"

version=$(sed -n 's/^project([A-Za-z]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
newer=${version%.*}.$((${version##*.} + 1))
log "packages $version and $newer (x64), $version also in Japanese"
scripts/package.sh --no-build x64 >/dev/null || fail "scripts/package.sh x64 failed"
scripts/package.sh --no-build --language en --version "$newer" x64 >/dev/null ||
  fail "scripts/package.sh --version $newer x64 failed"
OLD_MSI=$PACKAGES/MaintenanceSuite-$version-x64.msi
NEW_MSI=$PACKAGES/MaintenanceSuite-$newer-x64.msi
STAGED=$KD_ROOT/build/package/x64-$version/stage/$PRODUCT
JA_MSI=$PACKAGES/MaintenanceSuite-$version-x64-ja.msi
JA_STAGED=$KD_ROOT/build/package/x64-$version-ja/stage/$PRODUCT

registry_rows() { msiinfo export "$1" "$2" 2>/dev/null | tail -n +4 | grep -c . || true; }
check "the package writes nothing into the registry" test "$(registry_rows "$OLD_MSI" Registry)" -eq 0
check "the package removes nothing from the registry" \
  test "$(registry_rows "$OLD_MSI" RemoveRegistry)" -eq 0
check "no stand-in library or kdtool in the package" \
  sh -c "! msiinfo export '$OLD_MSI' File | grep -qiE 'KBAPI|KDSET32|kdtool'"

KD_HEADLESS=1 kd_display_start || fail "cannot start Xvfb"
rm -rf "$PREFIX" "$WORK"
mkdir -p "$WORK"
log "fresh prefix on $DISPLAY"
kd_wine_start "$PREFIX" || fail "the Wine prefix did not come up"

reg() { timeout 60 "$WINELOADER" reg "$@" </dev/null 2>/dev/null | tr -d '\r'; }
reg_value() {  # reg_value KEY NAME: the value's data, empty when absent
  reg query "$1" /v "$2" | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

log "the workstation: Maroset's keys, the printer driver and queue, a ready simulated printer"
kd_sim_printer_install "$WORK" || fail "the simulated printer could not be installed"
MODEL_KEY="HKCU\\SoftWare\\KALDO\\KALDO Maroset\\${KD_SIM_MODEL:6}"
MAROSET_KEY='HKLM\SoftWare\KALDO\KALDO Maroset'
# The operator's own values, as earlier sessions of the programs left them.
reg add "$MODEL_KEY" /v SelectPrinter /t REG_SZ /d "$KD_SIM_QUEUE" /f >/dev/null
reg add "$MODEL_KEY\\Sunnabar" /v FwPath /t REG_SZ /d 'C:\firmware' /f >/dev/null
reg add "$MODEL_KEY\\Trevalo" /v SampleFeedingR /t REG_DWORD /d 3 /f >/dev/null
operator_values() {
  printf '%s|%s|%s|%s\n' "$(reg_value "$MODEL_KEY" SelectPrinter)" \
    "$(reg_value "$MODEL_KEY\\Sunnabar" FwPath)" "$(reg_value "$MODEL_KEY\\Trevalo" SampleFeedingR)" \
    "$(reg_value "$MAROSET_KEY" InstallPath)"
}
VALUES_BEFORE=$(operator_values)

msiexec() {  # msiexec ACTION MSI LOG
  timeout 300 "$WINELOADER" msiexec "$1" "$(kd_windows_path "$2")" /qn \
    /l "$(kd_windows_path "$3")" </dev/null >/dev/null 2>&1
}
INSTALL_DIR=$PREFIX/drive_c/Program\ Files/$PRODUCT
start_menu() {  # the Start-menu folder of the suite, wherever this Wine keeps the all-users menu
  find "$PREFIX/drive_c" -type d -path '*Start Menu/Programs/*' -name "$PRODUCT" 2>/dev/null |
    head -n 1
}
product_entries() {  # the installed products' uninstall entries called PRODUCT
  reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s |
    grep -c "DisplayName *REG_SZ *$PRODUCT\$" || true
}
installed_version() {
  reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s |
    grep -A20 "DisplayName *REG_SZ *$PRODUCT\$" | sed -n 's/^ *DisplayVersion *REG_SZ *//p' |
    head -n 1
}

log "msiexec /i $(basename "$OLD_MSI") /qn"
msiexec /i "$OLD_MSI" "$WORK/install.log" || fail "the install failed (log $WORK/install.log)"
check "the installed tree is the packaged tree" diff -r "$STAGED" "$INSTALL_DIR"
MENU=$(start_menu)
for program in Kestrune Sunnabar Trevalo; do
  check "a Start-menu shortcut for $program" test -n "$MENU" -a -f "$MENU/$program.lnk"
done
check_equal "one product entry, version $version" "1 $version" \
  "$(product_entries) $(installed_version)"
check_equal "the install left the operator's values alone" "$VALUES_BEFORE" "$(operator_values)"

log "starting Kestrune from its Start-menu shortcut"
[ -f "$MENU/Kestrune.lnk" ] || fail "no Kestrune shortcut to start"
target=$(grep -aoE '[A-Za-z]:\\[^[:cntrl:]]*\\Kestrune\.exe' "$MENU/Kestrune.lnk" | head -n 1 || true)
check_equal "the shortcut points at the installed Kestrune" \
  "C:\\Program Files\\$PRODUCT\\Kestrune\\Kestrune.exe" "$target"
FOLDER=$INSTALL_DIR/Kestrune  # texts for the message checks
timeout 300 "$WINELOADER" start /wait /unix "$MENU/Kestrune.lnk" </dev/null >"$WORK/$NAME.log" 2>&1 &
PROGRAM_PID=$!
driver wait "$NAME" 60000 >/dev/null || fail "no $NAME main window within 60 s"
check_equal "the installed Kestrune chose the remembered printer" "$KD_SIM_QUEUE" \
  "$(driver text "$NAME" "$IDC_PRINTER_LIST")"
close_with_ok "$IDC_CLOSE_BUTTON"
# Wine can hold the program's image for a moment after its window went; an upgrade or uninstall
# in that moment cannot replace or remove it.
for _ in $(seq 1 150); do pgrep -f 'Kestrune\.exe' >/dev/null || break; sleep 0.2; done

log "msiexec /i $(basename "$NEW_MSI") /qn (upgrade)"
msiexec /i "$NEW_MSI" "$WORK/upgrade.log" || fail "the upgrade failed (log $WORK/upgrade.log)"
check_equal "one product entry after the upgrade, version $newer" "1 $newer" \
  "$(product_entries) $(installed_version)"
check "the upgraded tree is the packaged tree" diff -r "$STAGED" "$INSTALL_DIR"

log "msiexec /x $(basename "$NEW_MSI") /qn"
msiexec /x "$NEW_MSI" "$WORK/uninstall.log" || fail "the uninstall failed (log $WORK/uninstall.log)"
check "no installed file or folder remains" test ! -e "$INSTALL_DIR"
if [ -e "$INSTALL_DIR" ]; then find "$INSTALL_DIR" | sed 's/^/   left: /'; fi
check "no Start-menu folder or shortcut remains" test -z "$(start_menu)"
check_equal "no product entry remains" 0 "$(product_entries)"
check_equal "the operator's values are untouched" "$VALUES_BEFORE" "$(operator_values)"

log "the Japanese package, in a prefix with code page 932"
timeout 30 "$KD_WINESERVER" -k </dev/null >/dev/null 2>&1 || true
kd_wine_language ja || fail "no Japanese locale"
PREFIX=$KD_BUILD/wine-installer-ja  # start_menu looks here from now on
rm -rf "$PREFIX"
kd_wine_start "$PREFIX" || fail "the Japanese Wine prefix did not come up"
kd_wine_fonts
INSTALL_DIR=$PREFIX/drive_c/Program\ Files/$PRODUCT
check_equal "the prefix's code page is 932" 932 \
  "$(reg_value 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' ACP)"
kd_sim_printer_install "$WORK/ja" || fail "the simulated printer could not be installed"
reg add "$MODEL_KEY" /v SelectPrinter /t REG_SZ /d "$KD_SIM_QUEUE" /f >/dev/null
log "msiexec /i $(basename "$JA_MSI") /qn"
msiexec /i "$JA_MSI" "$WORK/install-ja.log" || fail "the install failed (log $WORK/install-ja.log)"
check "the installed Japanese tree is the packaged tree" diff -r "$JA_STAGED" "$INSTALL_DIR"
for program in Kestrune Sunnabar Trevalo; do
  check "$program has the Japanese texts" \
    cmp -s "install/ja/$program/Settings/Localize.ini" "$INSTALL_DIR/$program/Settings/Localize.ini"
done
MENU=$(start_menu)
check "a Start-menu shortcut for Kestrune" test -n "$MENU" -a -f "$MENU/Kestrune.lnk"
check_equal "one product entry, version $version" "1 $version" \
  "$(product_entries) $(installed_version)"

log "starting the Japanese Kestrune"
FOLDER=$INSTALL_DIR/Kestrune
timeout 300 "$WINELOADER" "$FOLDER/Kestrune.exe" </dev/null >"$WORK/$NAME-ja.log" 2>&1 &
PROGRAM_PID=$!
driver wait "$NAME" 60000 >/dev/null || fail "no Japanese $NAME main window within 60 s"
# kddriver reads the window in the system's code page, so the bytes are the settings file's.
check_equal "the close button shows text 180 in code page 932" "$(text 180)" \
  "$(driver text "$NAME" "$IDC_CLOSE_BUTTON")"
check_equal "the chosen printer" "$KD_SIM_QUEUE" "$(driver text "$NAME" "$IDC_PRINTER_LIST")"
close_with_ok "$IDC_CLOSE_BUTTON"
for _ in $(seq 1 150); do pgrep -f 'Kestrune\.exe' >/dev/null || break; sleep 0.2; done

log "msiexec /x $(basename "$JA_MSI") /qn"
msiexec /x "$JA_MSI" "$WORK/uninstall-ja.log" ||
  fail "the uninstall failed (log $WORK/uninstall-ja.log)"
check "no installed Japanese file or folder remains" test ! -e "$INSTALL_DIR"
if [ -e "$INSTALL_DIR" ]; then find "$INSTALL_DIR" | sed 's/^/   left: /'; fi
check "no Start-menu folder or shortcut remains" test -z "$(start_menu)"
check_equal "no product entry remains" 0 "$(product_entries)"
finish "none taken"
