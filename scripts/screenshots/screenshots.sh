#!/usr/bin/env bash
# scripts/screenshots/screenshots.sh BUILD_DIR (run by ./dev.sh screenshots)
# Regenerates the README's pictures in docs/images/: the contact sheets and option strips drawn
# by Chromium (sheets.mjs), and the desktop program in a real window under xvfb-run with a
# picture open, a selection drawn and the result window showing the page (desktop_screenshot).
# Each is reduced to a palette of 64 colours, without dithering, so that all of them together
# stay within a few hundred kilobytes.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:?usage: screenshots.sh BUILD_DIR}

raw=$(mktemp -d)
trap 'rm -rf "$raw"' EXIT

node scripts/screenshots/sheets.mjs "$build/cli/stipplor-encode" "$raw"
xvfb-run -a -s "-screen 0 1280x800x24" \
  "$build/scripts/screenshots/desktop_screenshot" samples/astronaut.jpg "$raw/desktop.png" \
  --select 130,60,400,330 >"$raw/desktop.log" 2>&1 || { cat "$raw/desktop.log"; exit 1; }

mkdir -p docs/images
for png in "$raw"/*.png; do
  convert "$png" -strip +dither -colors 64 -define png:compression-level=9 \
    "PNG8:docs/images/$(basename "$png")"
done
ls -l docs/images
du -ch docs/images/*.png | tail -n 1
