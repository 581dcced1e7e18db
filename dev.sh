#!/usr/bin/env bash
# Stipplor's one entry point for developers and CI.
#   ./dev.sh demo      encode the sample picture in every style into out/ (an index.html gallery)
#   ./dev.sh test      build everything and run the whole test suite (first under the
#                      sanitizers, then the desktop program's tests with Qt's assertions on,
#                      then 25 s of fuzzing each target, then the ordinary build)
#   ./dev.sh bench     Release build and the benchmarks
#   ./dev.sh fidelity [WORD...]  render the samples in every size and family in Chromium and
#                      print how closely each page copies its picture (only the pages whose name,
#                      e.g. "astronaut.jpg 1:1 bw dotted grey smooth pixel", holds every WORD)
#   ./dev.sh gui       build and start the desktop program with the sample picture open
#   ./dev.sh fuzz [S]  fuzz the picture loader and the encoder, S seconds each (default 300)
#   ./dev.sh package   Release build and its Debian package in build/release/package/
#   ./dev.sh screenshots  regenerate the README's pictures in docs/images/
# Each verb first installs, only if missing, the Debian packages it needs.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD

SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)

# Build tools and the libraries every build links (Qt's private headers: a desktop test queues
# input as the window system delivers it; libjpeg decodes JPEGs smaller for a page width).
# fontTools and brotli build the pages' pixel font (a WOFF2 file) from its glyph description.
BASE_PACKAGES=(build-essential cmake ninja-build pkg-config libgtest-dev libbenchmark-dev
               qt6-base-dev qt6-base-private-dev qt6-webengine-dev qt6-image-formats-plugins
               libjpeg62-turbo-dev libgl-dev fonts-liberation python3-fonttools python3-brotli)
# CPack's Debian package (dpkg-shlibdeps, and `file` to find the binaries) and the tools the
# installation tests check the desktop entry, icon and manual page with.
PACKAGE_TOOLS=(dpkg-dev file desktop-file-utils libxml2-utils groff-base)

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

# libFuzzer and the sanitizer runtimes come with clang's runtime library package.
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
FUZZ_TARGETS=(load_picture encode)

# Engine, loader and command line with their tests under AddressSanitizer and
# UndefinedBehaviorSanitizer (no desktop program, no browser tests).
sanitizer_tests() {
  build asan
  UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j "$(jobs)"
}

# The desktop program and its tests in a Debug build, where Qt's own assertions are on: they
# catch what the optimised build lets pass, such as a signal reaching a half-destroyed window.
gui_debug_tests() {
  build gui-debug
  ctest --preset gui-debug -j "$(jobs)"
}

# Replays the checked-in corpus of each fuzz target (valid pictures and the inputs that once
# made it fail), then fuzzes each for $1 seconds from there. New inputs go to build/fuzz/corpus;
# an input that fails is kept in build/fuzz/artifacts and its report ends the run.
run_fuzzers() {
  local seconds=$1 target fuzzer log
  export UBSAN_OPTIONS=print_stacktrace=1
  need "${FUZZ_PACKAGES[@]}"
  build fuzz
  mkdir -p build/fuzz/artifacts
  for target in "${FUZZ_TARGETS[@]}"; do
    fuzzer=build/fuzz/fuzz/${target}_fuzzer
    log=build/fuzz/$target.log
    mkdir -p "build/fuzz/corpus/$target"
    "$fuzzer" fuzz/corpus/"$target"/* >"$log" 2>&1 || { cat "$log"; return 1; }
    echo "fuzz $target: replayed $(ls fuzz/corpus/"$target" | wc -l) checked-in inputs"
    "$fuzzer" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -print_final_stats=1 \
      -artifact_prefix="build/fuzz/artifacts/$target-" "build/fuzz/corpus/$target" \
      "fuzz/corpus/$target" >"$log" 2>&1 || { tail -n 60 "$log"; return 1; }
    echo "fuzz $target: $(grep -o 'Done [0-9]* runs in [0-9]* second(s)' "$log")"
  done
}

# The browser tests drive Debian's Chromium from node (tests/browser). node and npm come from Debian only where npm is missing; the npm packages are
# the locked ones, installed again when the lock file is newer than them, and no tool may fetch a
# browser of its own.
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
  # strace: a test watches the system calls that put a page on the disk.
  need "${BASE_PACKAGES[@]}" "${PACKAGE_TOOLS[@]}" strace
  browser_test_tools
  sanitizer_tests
  gui_debug_tests
  run_fuzzers 25
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
  QT_QPA_PLATFORM=offscreen build/release/bench/result_window_bench
}

# A measurement, like the benchmarks: the tests keep a few floors, this prints every score.
verb_fidelity() {
  need "${BASE_PACKAGES[@]}"
  browser_test_tools
  build default
  STIPPLOR_ENCODE="$ROOT/build/default/cli/stipplor-encode" node bench/fidelity/survey.mjs "$@"
}

verb_gui() {
  need "${BASE_PACKAGES[@]}"
  build default
  # The result window's browser engine refuses to start its sandbox as root.
  [ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
  exec build/default/app/stipplor "$ROOT/samples/astronaut.jpg"
}

verb_fuzz() {
  need "${BASE_PACKAGES[@]}"
  run_fuzzers "${1:-300}"
}

verb_package() {
  need "${BASE_PACKAGES[@]}" "${PACKAGE_TOOLS[@]}"
  build release
  cpack --config build/release/CPackConfig.cmake -B build/release/package
}

# Pages drawn by Chromium, and the desktop program in a real window under a virtual X server.
verb_screenshots() {
  need "${BASE_PACKAGES[@]}" xvfb xauth imagemagick
  browser_test_tools
  build default
  scripts/screenshots/screenshots.sh build/default
}

usage() { sed -n '2,/^# Each verb/p' "$0" | sed 's/^# \{0,1\}//'; }

case "${1:-}" in
  demo | test | bench | fidelity | gui | fuzz | screenshots | package) verb="verb_$1"; shift; "$verb" "$@" ;;
  -h | --help | help | "") usage ;;
  *) echo "dev.sh: unknown verb '$1'" >&2; usage >&2; exit 2 ;;
esac
