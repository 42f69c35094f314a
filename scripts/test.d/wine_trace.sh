#!/usr/bin/env bash
# Step of scripts/test.sh: Kestrune recorded under Wine through the recording library, then
# replayed from its trace by the simulated printer.
exec bash "$(dirname "$0")/../../tests/e2e/trace_e2e.sh"
