#!/usr/bin/env bash
# Encodes samples/astronaut.jpg with the default options (colored, higher quality), in the
# lower colored quality and in every B&W style, grey and colorized, into out/; writes
# out/index.html, a gallery linking the pages with their captions, and prints its path.
#   scripts/demo.sh BUILD_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ENCODER=$(cd "$1" && pwd)/cli/stipplor-encode
PICTURE=$ROOT/samples/astronaut.jpg
OUT=$ROOT/out
mkdir -p "$OUT"

# One page per line: file name, then the options.
PAGES=(
  "default.html"
  "colored-low.html --quality low"
)
for style in plain pattern dotted fractal; do
  for colours in grey colorized; do
    PAGES+=("bw-$style-$colours.html --bw --style $style --$colours")
  done
done

html_escape() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g'; }

ENTRIES=""
for page in "${PAGES[@]}"; do
  read -r name options <<<"$page"
  # shellcheck disable=SC2086 # the options are words
  "$ENCODER" $options "$PICTURE" -o "$OUT/$name"
  # shellcheck disable=SC2086
  caption=$("$ENCODER" $options --caption | html_escape)
  [ "$name" = default.html ] && caption="$caption (default options)"
  ENTRIES+="<li><a href=\"$name\">$caption</a><br><iframe src=\"$name\" width=560 height=560></iframe></li>"$'\n'
done

cat >"$OUT/index.html" <<HTML
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Stipplor demo: astronaut.jpg</title>
<style>body{font-family:sans-serif} ul{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:16px} iframe{border:1px solid #ccc} a{white-space:pre}</style>
</head><body>
<h1>samples/astronaut.jpg, encoded by stipplor-encode</h1>
<p>Each page draws the picture with no image file: characters in a 3-pixel font (B&amp;W) or tiny
coloured table cells (Colored).</p>
<ul>
$ENTRIES</ul>
</body></html>
HTML
echo "$OUT/index.html"
