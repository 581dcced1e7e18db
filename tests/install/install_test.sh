#!/usr/bin/env bash
# `cmake --install` into a temporary prefix: the two programs, the desktop entry, the icon and
# the manual page land where desktops and man look for them, are well-formed, and work.
#   install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 version=$3
for tool in desktop-file-validate xmllint groff; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (./dev.sh test installs it)"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cmake --install "$build" --prefix "$prefix" >/dev/null
desktop=$prefix/share/applications/stipplor.desktop
icon=$prefix/share/icons/hicolor/scalable/apps/stipplor.svg
man_page=$prefix/share/man/man1/stipplor-encode.1

# The desktop entry opens the three picture types with the program.
desktop-file-validate "$desktop" || fail "stipplor.desktop does not validate"
for entry in 'Exec=stipplor %f' 'Icon=stipplor' 'MimeType=image/bmp;image/gif;image/jpeg;'; do
  grep -qxF "$entry" "$desktop" || fail "stipplor.desktop lacks '$entry'"
done
xmllint --noout "$icon" || fail "stipplor.svg is not well-formed"
grep -q '<svg[^>]*viewBox="0 0 64 64"' "$icon" || fail "stipplor.svg does not scale"

# The manual page: groff reads it without a warning, and it shows the usage lines and every
# option as --help writes them.
warnings=$(groff -man -ww -z -Tutf8 "$man_page" 2>&1) || fail "groff fails on the manual page"
[ -z "$warnings" ] || fail "groff warns about the manual page: $warnings"
rendered=$(groff -man -Tutf8 -P-cbou "$man_page" 2>/dev/null)
while IFS= read -r line; do
  grep -qF -- "$line" <<<"$rendered" || fail "the manual page lacks '$line'"
done < <("$prefix/bin/stipplor-encode" --help |
  sed -n 's/^\(Usage:\)\? *\(stipplor-encode .*\)/\2/p; s/^  \(-.*[^ ]\)   .*/\1/p')

# Both programs name their version, the desktop program without a display.
for program in stipplor-encode stipplor; do
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --version) ||
    fail "$program --version needs more than it should"
  [ "$out" = "$program $version" ] || fail "$program --version says '$out'"
done
echo "install: programs, desktop entry, icon and manual page in place under $prefix"
