#!/usr/bin/env bash
# Stipplor's one entry point for developers and CI.
#   ./dev.sh demo      encode the sample picture in every style into out/ (an index.html gallery)
#   ./dev.sh test      build everything and run the whole test suite
#   ./dev.sh bench     Release build and the benchmarks
#   ./dev.sh gui       build and start the desktop program with the sample picture open
# Each verb first installs, only if missing, the Debian packages it needs.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD

SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)

# Build tools and the libraries every build links.
BASE_PACKAGES=(build-essential cmake ninja-build pkg-config libgtest-dev libbenchmark-dev
               qt6-base-dev qt6-webengine-dev qt6-image-formats-plugins libgl-dev fonts-liberation)

# Installs the named Debian packages that are not installed yet.
need() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "dev.sh: installing ${missing[*]}"
  "${SUDO[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq "${missing[@]}"
}

# Configures (once) and builds a CMake preset.
build() {
  local preset=$1
  shift
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" "$@"
  cmake --build --preset "$preset"
}

jobs() { nproc 2>/dev/null || echo 2; }

# The browser tests drive Debian's Chromium from node (tests/browser). node and npm come from
# Debian only where npm is missing; the npm packages are the locked ones, installed again when
# the lock file is newer than them, and no tool may fetch a browser of its own.
browser_test_tools() {
  need chromium
  command -v npm >/dev/null || need nodejs npm
  [ tests/browser/node_modules/.package-lock.json -nt tests/browser/package-lock.json ] ||
    (cd tests/browser && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund)
}

verb_demo() {
  need "${BASE_PACKAGES[@]}"
  build default
  scripts/demo.sh build/default
}

verb_test() {
  need "${BASE_PACKAGES[@]}"
  browser_test_tools
  local preset=default
  [ "${CI:-}" = true ] && preset=ci
  build "$preset"
  ctest --preset "$preset" -j "$(jobs)"
}

verb_bench() {
  need "${BASE_PACKAGES[@]}" libjpeg-turbo-progs time
  build release
  build/release/bench/engine_bench --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@"
  bench/cli_vs_djpeg.sh build/release
}

verb_gui() {
  need "${BASE_PACKAGES[@]}"
  build default
  exec build/default/app/stipplor "$ROOT/samples/astronaut.jpg"
}

usage() { sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; }

case "${1:-}" in
  demo | test | bench | gui) verb="verb_$1"; shift; "$verb" "$@" ;;
  -h | --help | help | "") usage ;;
  *) echo "dev.sh: unknown verb '$1'" >&2; usage >&2; exit 2 ;;
esac
