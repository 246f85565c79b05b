#!/usr/bin/env bash
# Screenshots of every page of the analyzer window for docs/user-guide.md: builds the window
# library and qla_screenshots, then runs it under Xvfb on the English sample log, and once more
# in German on the German sample log (de-page-2-analyze.png).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${QLA_UI_BUILD:-$root/build-ui}"
log="${1:-$root/samples/english-sample.log}"
german_log="${2:-$root/samples/german-sample.log}"
out="$root/docs/screenshots"

if [ ! -f "$log" ]; then
    echo "screenshots: no sample log at $log (run tools/make-samples first); skipped" >&2
    exit 0
fi
command -v xvfb-run >/dev/null || { echo "screenshots: xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }

cmake -S "$root" -B "$build" >/dev/null
cmake --build "$build" --target qla_screenshots -j2 >/dev/null
bin="$(find "$build" -type f -name qla_screenshots -perm -u+x | head -n 1)"
mkdir -p "$out"
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$bin" "$log" "$out"
if [ -f "$german_log" ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$bin" "$german_log" "$out" --german
fi
