#!/usr/bin/env bash
# End-to-end speed of stipplor-encode with its default options, and with --width 800 (which
# decodes the JPEG at a fraction of its size), against djpeg decoding the same 12-megapixel JPEG
# to BMP at full size, best of five runs each, and the encoder's peak memory; then --max-bytes
# 100k against one --width run at the width it found.
# Usage: bench/cli_vs_djpeg.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: cli_vs_djpeg.sh BUILD_DIR}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

"$build/bench/make_bench_jpeg" "$tmp/photo.jpg"

# Best wall time of five runs, in milliseconds.
best_ms() {
  local best=0 start end ms
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    if [ "$best" -eq 0 ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

encoder="$build/cli/stipplor-encode"
djpeg_ms=$(best_ms djpeg -bmp -outfile "$tmp/photo.bmp" "$tmp/photo.jpg")
encode_ms=$(best_ms "$encoder" "$tmp/photo.jpg" -o "$tmp/photo.html")
peak_kb=$(/usr/bin/time -f %M "$encoder" "$tmp/photo.jpg" -o "$tmp/photo.html" 2>&1 >/dev/null | tail -n 1)
page_mb=$(($(stat -c %s "$tmp/photo.html") / 1000000))
width_ms=$(best_ms "$encoder" --width 800 "$tmp/photo.jpg" -o "$tmp/width.html")
width_peak_kb=$(/usr/bin/time -f %M "$encoder" --width 800 "$tmp/photo.jpg" -o "$tmp/width.html" 2>&1 >/dev/null | tail -n 1)
width_kb=$(($(stat -c %s "$tmp/width.html") / 1000))

printf 'picture            4000 x 3000 JPEG (%s kB)\n' "$(($(stat -c %s "$tmp/photo.jpg") / 1000))"
printf 'djpeg -bmp         %6d ms\n' "$djpeg_ms"
printf 'stipplor-encode    %6d ms   (page %d MB, peak memory %d MB)\n' "$encode_ms" "$page_mb" "$((peak_kb / 1024))"
awk -v a="$encode_ms" -v b="$djpeg_ms" 'BEGIN { printf "ratio              %6.2f x djpeg\n", a / b }'
printf -- '--width 800        %6d ms   (page %d kB, peak memory %d MB)\n' "$width_ms" "$width_kb" "$((width_peak_kb / 1024))"
awk -v a="$width_ms" -v b="$djpeg_ms" 'BEGIN { printf "ratio              %6.2f x djpeg (target: at most 1)\n", a / b }'

mail_ms=$(best_ms "$encoder" --max-bytes 100k "$tmp/photo.jpg" -o "$tmp/mail.html")
mail_width=$(grep -o -m 1 ' width=[0-9]*' "$tmp/mail.html" | head -n 1 | cut -d= -f2)
found_ms=$(best_ms "$encoder" --width "$mail_width" "$tmp/photo.jpg" -o "$tmp/found.html")
cmp "$tmp/mail.html" "$tmp/found.html"  # the same page, byte for byte
printf -- '--max-bytes 100k   %6d ms   (page %d bytes, width %d; --width %d: %d ms)\n' "$mail_ms" \
  "$(stat -c %s "$tmp/mail.html")" "$mail_width" "$mail_width" "$found_ms"
awk -v a="$mail_ms" -v b="$found_ms" 'BEGIN { printf "ratio              %6.2f x --width (target: at most 4)\n", a / b }'
