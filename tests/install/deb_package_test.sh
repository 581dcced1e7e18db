#!/usr/bin/env bash
# The Debian package: CPack builds it from this build, its dependencies are the ones
# dpkg-shlibdeps computed from the binaries, and the stipplor-encode it unpacks (dpkg -x) runs
# on a sample with the system's libraries alone and writes what the built one writes.
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
fields=$(dpkg-deb --field "$deb" Package Version Section)
[ "$fields" = $'Package: stipplor\nVersion: '"$version"$'\nSection: graphics' ] || fail "package fields: $fields"
depends=$(dpkg-deb --field "$deb" Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6webenginewidgets6; do
  grep -q "\\b$library\\b" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg -x "$deb" "$tmp/root"
encoder=$tmp/root/usr/bin/stipplor-encode
file "$tmp/root/usr/bin/stipplor" "$encoder" | grep -q 'not stripped' && fail "the programs keep their symbols"
env -u LD_LIBRARY_PATH "$encoder" "$source/samples/astronaut.jpg" -o "$tmp/packaged.html"
"$build/cli/stipplor-encode" "$source/samples/astronaut.jpg" -o "$tmp/built.html"
cmp "$tmp/packaged.html" "$tmp/built.html" || fail "the packaged encoder writes another page"
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes, Depends: $depends"
