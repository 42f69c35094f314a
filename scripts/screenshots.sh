#!/usr/bin/env bash
# Regenerates the README's pictures: each program runs in the demo under a
# private Xvfb (scripts/demo.sh), and its main window's screenshot is copied to
# docs/images/<program>.png. Trevalo's three adjustment dialogs come from its Wine suite, which
# runs them against the simulated printer. Commit the pictures that changed.
#   scripts/screenshots.sh [PROGRAM...]   (default: kestrune sunnabar trevalo)
set -euo pipefail
cd "$(dirname "$0")/.."
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(kestrune sunnabar trevalo)
mkdir -p docs/images out
status=0
for program in "${programs[@]}"; do
  echo "== $program"
  rm -f "out/$program.png"
  if KD_HEADLESS=1 timeout 900 scripts/demo.sh "$program" >"out/screenshot-$program.log" 2>&1 &&
     [ -s "out/$program.png" ]; then
    cp "out/$program.png" "docs/images/$program.png"
    echo "   docs/images/$program.png"
  else
    echo "   no picture; the demo's output is in out/screenshot-$program.log" >&2
    status=1
  fi
  if [ "$program" = trevalo ]; then
    if KD_UPDATE_DOC_IMAGES=1 timeout 900 scripts/test.d/wine_trevalo.sh \
        >out/screenshot-trevalo-dialogs.log 2>&1; then
      echo "   docs/images/trevalo-{paper-feed-detail,pellan-detail,paper-setting}.png"
    else
      echo "   no dialog pictures; see out/screenshot-trevalo-dialogs.log" >&2
      status=1
    fi
  fi
done
exit $status
