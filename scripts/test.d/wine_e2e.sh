#!/usr/bin/env bash
# Step of scripts/test.sh: the Win32 platform check and Kestrune end to end under Wine.
exec bash "$(dirname "$0")/../../tests/e2e/kestrune_e2e.sh"
