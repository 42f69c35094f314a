#!/usr/bin/env bash
# Step of scripts/test.sh: the three programs with the Japanese texts under Wine in code page
# 932 (Kestrune's nozzle check, Sunnabar's version read, Trevalo's paper feed samples with
# Japanese captions), message boxes compared byte for byte with the settings files.
exec bash "$(dirname "$0")/../../tests/e2e/japanese_e2e.sh"
