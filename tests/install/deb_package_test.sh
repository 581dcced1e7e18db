#!/usr/bin/env bash
# The Debian package: CPack builds it from this build, its dependencies are the ones
# dpkg-shlibdeps computed from the binaries, and the stipplor-encode it unpacks (dpkg -x) runs
# on a sample with the system's libraries alone.
#   deb_package_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
for tool in cpack dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (./dev.sh test installs it)"; exit 77; }
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$tmp/package" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$tmp/package/stipplor_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$tmp/package"; fail "no $(basename "$deb")"; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = stipplor ] || fail "package name '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version '$(field Version)'"
[ -n "$(field Maintainer)" ] || fail "no maintainer"
[ "$(field Section)" = graphics ] || fail "section '$(field Section)'"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6webenginewidgets6; do
  grep -q "\\b$library\\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{ print $6 }')
for file in ./usr/bin/stipplor ./usr/bin/stipplor-encode ./usr/share/applications/stipplor.desktop \
  ./usr/share/icons/hicolor/scalable/apps/stipplor.svg ./usr/share/man/man1/stipplor-encode.1; do
  grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done

dpkg -x "$deb" "$tmp/root"
encoder=$tmp/root/usr/bin/stipplor-encode
file "$encoder" | grep -q 'stripped' && ! file "$encoder" | grep -q 'not stripped' ||
  fail "the packaged programs keep their symbols"
env -u LD_LIBRARY_PATH "$encoder" "$source/samples/astronaut.jpg" -o "$tmp/astronaut.html"
"$build/cli/stipplor-encode" "$source/samples/astronaut.jpg" -o "$tmp/built.html"
cmp "$tmp/astronaut.html" "$tmp/built.html" || fail "the packaged encoder writes another page"
[ "$(env -u LD_LIBRARY_PATH "$encoder" --version)" = "stipplor-encode $version" ] ||
  fail "the packaged encoder's version"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, Depends: $depends"
