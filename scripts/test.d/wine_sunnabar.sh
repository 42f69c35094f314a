#!/usr/bin/env bash
# Step of scripts/test.sh: one Sunnabar firmware update end to end under Wine (about 100 s).
exec bash "$(dirname "$0")/../../tests/e2e/sunnabar_e2e.sh"
