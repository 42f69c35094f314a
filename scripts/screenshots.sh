#!/usr/bin/env bash
# Regenerates the README's pictures: each program runs in the demo under a private Xvfb
# (scripts/demo.sh), in English and in Japanese, and its main window's screenshot is copied to
# docs/images/<program>.png and <program>-ja.png. Trevalo's three adjustment dialogs come from
# its Wine suite, which runs them against the simulated printer. Commit the pictures that
# changed.
#   scripts/screenshots.sh [PROGRAM...]   (default: kestrune sunnabar trevalo)
set -euo pipefail
cd "$(dirname "$0")/.."
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(kestrune sunnabar trevalo)
mkdir -p docs/images out
status=0
for program in "${programs[@]}"; do
  for language in en ja; do
    shot=$program
    if [ "$language" != en ]; then shot=$program-$language; fi
    echo "== $shot"
    rm -f "out/$shot.png"
    if KD_HEADLESS=1 timeout 900 scripts/demo.sh "$program" "$language" \
         >"out/screenshot-$shot.log" 2>&1 && [ -s "out/$shot.png" ]; then
      cp "out/$shot.png" "docs/images/$shot.png"
      echo "   docs/images/$shot.png"
    else
      echo "   no picture; the demo's output is in out/screenshot-$shot.log" >&2
      status=1
    fi
  done
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
