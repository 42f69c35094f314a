#!/usr/bin/env bash
# Step of scripts/test.sh: Trevalo's printer choice, its cleaning and nozzle check pages, its
# adjustment page with both detail dialogs (values read, saved and verified; paper feed samples
# printed on roll paper), and a page drawn through the print surface, end to end under Wine, in
# launch mode Normal on a KD1394D3 port (about 3 minutes).
exec bash "$(dirname "$0")/../../tests/e2e/trevalo_e2e.sh"
