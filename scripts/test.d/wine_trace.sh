#!/usr/bin/env bash
# Step of scripts/test.sh: Kestrune and Trevalo recorded under Wine through the recording
# libraries, then replayed from their traces by the simulated printer.
exec bash "$(dirname "$0")/../../tests/e2e/trace_e2e.sh"
