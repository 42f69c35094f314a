#!/usr/bin/env bash
# Step of scripts/test.sh: the x64 Windows Installer package installed, started, upgraded and
# removed under Wine.
exec bash "$(dirname "$0")/../../tests/e2e/installer_e2e.sh"
