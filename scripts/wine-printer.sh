# shellcheck shell=bash
# Sourced helper (bash, after scripts/wine-env.sh): an installation of the suite with a
# simulated printer inside a running Wine prefix.
#   kd_windows_build TARGET...        configures and builds build/x86_64 (Release, -Werror)
#   kd_control_ids PROGRAM            the program's control ids as shell variables (after a build)
#   kd_lay_out_program NAME DIR MODE [LANGUAGE]
#                                     DIR/NAME.exe with its Settings, launch mode MODE; with
#                                     LANGUAGE (ja) that language's texts laid over the English
#   kd_sim_printer_install DIR [PORT] registry keys, driver, queue and a ready simulated printer
#   kd_kdsim COMMAND ARGS...          kdsim.exe in the prefix (state paths may be Unix paths)
#   kd_make_firmware VERSION OUT      a valid firmware file OUT (Unix path) with that version
#
# What kd_sim_printer_install leaves behind (DIR is a work folder outside the prefix):
#   - DIR/Maroset with the manual pages, named by HKLM\SoftWare\KALDO\KALDO Maroset InstallPath;
#   - HKLM\Software\KALDO\QTW3\Driver\<model>: the status monitor knows the driver;
#   - the driver <model> in Wine's spooler (wineps.drv, raw data), its data file DIR/printer/
#     KD9000.INI carrying "KBAPII=KBAPI.DLL" and, for the PostScript driver that renders GDI
#     pages, the page sizes of scripts/wine-sim-driver.ppd (a GDI page on the queue reaches the
#     printer as a PostScript document); the spooler copies the data file and the stand-in
#     KBAPI.DLL into its driver folder. KBAPI.DLL lies nowhere else in the prefix, so the
#     programs find it only through the driver's data file, as on a workstation where the
#     library comes with the printer driver;
#   - the queue KD_SIM_QUEUE whose port "|cat >> DIR/printer/printer.input" appends each raw
#     job to that file (a plain file port would be truncated at every job);
#   - the printer's state file kdsim.state beside KBAPI.DLL (the stand-in looks there when
#     KD_SIM_STATE is unset, so no environment is needed), its input being printer.input.
# It sets KD_SIM_STATE_FILE (Unix path of the state), KD_SIM_INPUT and KD_SIM_LIBRARY_DIR.

KD_SIM_MODEL="KALDO Model 9000"  # PRINTER1 of Printer.ini
KD_SIM_QUEUE="KALDO 9000 Sim"
KD_ROOT=${KD_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
KD_BUILD=$KD_ROOT/build/x86_64
KD_DRIVER_EXE=$KD_BUILD/bin/e2e/kddriver.exe
KD_KDSIM_EXE=$KD_BUILD/sim/kdsim.exe
KD_STANDIN_DLL=$KD_BUILD/sim/KBAPI.DLL
KD_KDTOOL_EXE=$KD_BUILD/tools/kdtool/kdtool.exe

kd_windows_build() {
  cmake -S "$KD_ROOT" -B "$KD_BUILD" -DCMAKE_TOOLCHAIN_FILE="$KD_ROOT/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DKD_WERROR=ON -DKD_TESTS=OFF >/dev/null &&
  cmake --build "$KD_BUILD" -j "${JOBS:-2}" --target "$@" >/dev/null
}

# The control ids of a program's windows, generated from its resource headers by the build:
# IDC_PRINTER_LIST and the like become shell variables.
kd_control_ids() {  # PROGRAM (kestrune, sunnabar, trevalo)
  local file=$KD_BUILD/ids/$1.sh
  [ -r "$file" ] || { echo "no control ids at $file: build kddriver first" >&2; return 1; }
  # shellcheck disable=SC1090
  source "$file"
}

kd_lay_out_program() {  # NAME DIR MODE [LANGUAGE]
  local name=$1 dir=$2 mode=$3 language=${4:-en} source
  rm -rf "$dir"
  mkdir -p "$dir"
  cp "$KD_BUILD/bin/$name/$name.exe" "$dir/"
  cp -r "$KD_BUILD/bin/$name/Settings" "$dir/"
  if [ "$language" != en ]; then
    for source in "$KD_ROOT/install/$language/Settings" "$KD_ROOT/install/$language/$name/Settings"; do
      if [ -d "$source" ]; then cp -r "$source/." "$dir/Settings/"; fi
    done
  fi
  printf '[Launch]\r\nOpe=%s\r\n' "$mode" >"$dir/Settings/Setting_Launch.ini"
}

kd_kdsim() { timeout 60 "$WINELOADER" "$KD_KDSIM_EXE" "$@" </dev/null; }

# kdtool.exe of the same build (target kdtool) writes it, so no host build is needed.
kd_make_firmware() {  # VERSION OUT
  mkdir -p "$(dirname "$2")"
  timeout 60 "$WINELOADER" "$KD_KDTOOL_EXE" make-upg --version "$1" --image-size 4096 \
    "$(kd_windows_path "$2")" </dev/null >/dev/null
}

# Unix path of a C: path that Wine reports.
kd_unix_path() {
  local path=${1#[Cc]:}
  printf '%s/drive_c%s\n' "$WINEPREFIX" "${path//\\//}"
}

kd_windows_path() {  # a Unix path as Wine's drive Z: shows it
  local path=$1
  printf 'Z:%s\n' "${path//\//\\}"
}

# With PORT, the queue's port is that name and Wine's spooler maps it to the same pipe (its
# value under HKCU\Software\Wine\Printing\Spooler), for port rules that look at the name.
kd_sim_printer_install() {  # DIR [PORT]
  local dir=$1 port_name=${2:-} printer=$1/printer answer driver_path reg port
  mkdir -p "$printer"
  rm -rf "$dir/Maroset"
  cp -r "$KD_ROOT/install/Maroset" "$dir/Maroset"

  reg=$printer/suite.reg
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\SoftWare\\KALDO\\KALDO Maroset]\r\n'
    printf '"InstallPath"="%s"\r\n\r\n' "$(kd_windows_path "$dir/Maroset" | sed 's/\\/\\\\/g')"
    printf '[HKEY_LOCAL_MACHINE\\Software\\KALDO\\QTW3\\Driver\\%s]\r\n\r\n' "$KD_SIM_MODEL"
  } >"$reg"
  timeout 60 "$WINELOADER" reg import "$(kd_windows_path "$reg")" </dev/null >/dev/null 2>&1 ||
    { echo "the registry keys could not be imported" >&2; return 1; }

  # The data file is also the PostScript driver's page description: the profile reader skips
  # its lines, the driver skips the INI section.
  {
    printf '[User Mode Printer Driver Information]\r\nKBAPII=KBAPI.DLL\r\n'
    sed 's/$/\r/' "$KD_ROOT/scripts/wine-sim-driver.ppd"
  } >"$printer/KD9000.INI"
  KD_SIM_INPUT=$printer/printer.input
  : >"$KD_SIM_INPUT"
  port="|cat >> '$KD_SIM_INPUT'"
  if [ -n "$port_name" ]; then
    timeout 60 "$WINELOADER" reg add 'HKCU\Software\Wine\Printing\Spooler' /v "$port_name" \
      /t REG_SZ /d "$port" /f </dev/null >/dev/null 2>&1 ||
      { echo "the port $port_name could not be mapped" >&2; return 1; }
    port=$port_name
  fi
  answer=$(timeout 60 "$WINELOADER" "$KD_DRIVER_EXE" install-printer "$KD_SIM_MODEL" \
             "$printer/KD9000.INI" "$KD_SIM_QUEUE" "$port" \
             "$KD_STANDIN_DLL" </dev/null | tr -d '\r') ||
    { echo "the printer queue could not be installed" >&2; return 1; }
  driver_path=$(sed -n 's/^driver path: //p' <<<"$answer")
  KD_SIM_LIBRARY_DIR=$(kd_unix_path "${driver_path%\\*}")
  [ -e "$KD_SIM_LIBRARY_DIR/KBAPI.DLL" ] ||
    { echo "KBAPI.DLL is not in the driver folder $KD_SIM_LIBRARY_DIR" >&2; return 1; }
  KD_SIM_STATE_FILE=$KD_SIM_LIBRARY_DIR/kdsim.state
  kd_kdsim create "$KD_SIM_STATE_FILE" --model "$KD_SIM_MODEL" --queue "$KD_SIM_QUEUE" \
    --input "$KD_SIM_INPUT" >/dev/null ||
    { echo "the simulated printer could not be created" >&2; return 1; }
}
