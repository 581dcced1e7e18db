#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the two programs, the desktop entry, the icon and
# the manual page land where desktops and man look for them, are well-formed, and work.
#   install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
for tool in desktop-file-validate xmllint groff; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (./dev.sh test installs it)"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
prefix=$tmp/usr
for file in bin/stipplor bin/stipplor-encode; do
  [ -x "$prefix/$file" ] || fail "$file is not installed as a program"
done
desktop=$prefix/share/applications/stipplor.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/stipplor.svg
man_page=$prefix/share/man/man1/stipplor-encode.1
for file in "$desktop" "$icon" "$man_page"; do
  [ -f "$file" ] || fail "${file#"$prefix"/} is not installed"
done

# The desktop entry: valid, and opening the three picture types with the program.
desktop-file-validate "$desktop" || fail "stipplor.desktop does not validate"
for entry in 'Type=Application' 'Name=Stipplor' 'Exec=stipplor %f' 'Icon=stipplor' \
  'Terminal=false' 'Categories=Graphics;' 'MimeType=image/bmp;image/gif;image/jpeg;'; do
  grep -qxF "$entry" "$desktop" || fail "stipplor.desktop lacks '$entry'"
done

# The icon: well-formed SVG that scales (a view box, no fixed pixels only).
xmllint --noout "$icon" || fail "stipplor.svg is not well-formed"
grep -q '<svg[^>]*xmlns="http://www.w3.org/2000/svg"[^>]*viewBox="0 0 64 64"' "$icon" ||
  fail "stipplor.svg is not a scalable SVG"

# The manual page: groff reads it without a warning, and it renders the options.
warnings=$(groff -man -ww -z -Tutf8 "$man_page" 2>&1) || fail "groff fails on the manual page"
[ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
rendered=$(groff -man -Tutf8 -P-cbou "$man_page" 2>/dev/null)
for option in --size --region --version -d; do
  grep -q -- "^ *$option\\b" <<<"$rendered" || fail "the rendered manual page lacks $option"
done

# The installed programs: both name their version and the desktop program its usage (without a
# display), and the encoder writes what the built one writes.
[ "$("$prefix/bin/stipplor-encode" --version)" = "stipplor-encode $version" ] ||
  fail "stipplor-encode --version"
no_display() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/stipplor" "$@"; }
out=$(no_display --version) || fail "stipplor --version needs more than it should"
[ "$out" = "stipplor $version" ] || fail "stipplor --version says '$out'"
out=$(no_display --help) || fail "stipplor --help needs more than it should"
grep -q "^Usage: .*stipplor \[options\] \[FILE\]$" <<<"$out" || fail "stipplor --help says '$out'"
"$prefix/bin/stipplor-encode" "$source/samples/astronaut.jpg" -o "$tmp/installed.html"
"$build/cli/stipplor-encode" "$source/samples/astronaut.jpg" -o "$tmp/built.html"
cmp "$tmp/installed.html" "$tmp/built.html" || fail "the installed encoder writes another page"
echo "install: programs, desktop entry, icon and manual page in place under $prefix"
