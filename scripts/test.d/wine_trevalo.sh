#!/usr/bin/env bash
# Step of scripts/test.sh: Trevalo's printer choice and its cleaning and nozzle check pages end to
# end under Wine, in launch mode Normal on a KD1394D3 port (about 50 s).
exec bash "$(dirname "$0")/../../tests/e2e/trevalo_e2e.sh"
