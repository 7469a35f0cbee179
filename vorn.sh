#!/usr/bin/env bash
# Sets up a Debian 12 machine for Vorn, builds it, then either opens the
# editor on the bundled sample game ("run"), runs every test ("test"),
# builds a second tree under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test there, any report failing it ("sanitize"), or builds
# the fuzz targets with clang and runs each for SECONDS ("fuzz").
set -euo pipefail
cd "$(dirname "$0")"
mode="${1:-run}"

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          libpng-dev xvfb xauth fonts-dejavu-core fonts-ipafont-gothic
          desktop-file-utils appstream)
[ "$mode" = fuzz ] && packages+=(clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages. Run this as root, then start again:"
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}"
    exit 1
  fi
fi

# Runs one fuzz target for $2 seconds on a copy of its seeds, so that what it
# finds never lands in the repository. False on any crash, leak, timeout,
# out-of-memory or sanitizer report.
fuzz_target() {
  local name=$1 seconds=$2 work log runs
  local -A max_len=([map]=4096 [entities]=4096 [stagetable]=20000 [exetable]=200000 [settings]=4096
                    [script]=4096 [picture]=16384 [npctable]=9000 [tiletypes]=512 [cellsclip]=4096)
  if [ -z "${max_len[$name]:-}" ]; then
    echo "no fuzz target $name (there are: ${!max_len[*]})" >&2
    return 1
  fi
  local options=(-max_total_time="$seconds" -max_len="${max_len[$name]}" -rss_limit_mb=2048
                 -timeout=10 -artifact_prefix="build-fuzz/crash-$name-")
  [ -f "fuzz/$name.dict" ] && options+=(-dict="fuzz/$name.dict")
  work=$(mktemp -d)
  cp "fuzz/corpus/$name/"* "$work/"
  log="build-fuzz/fuzz-$name.log"
  local status=0
  build-fuzz/bin/"fuzz_$name" "${options[@]}" "$work" >"$log" 2>&1 || status=$?
  rm -rf "$work"
  if [ "$status" -ne 0 ] || grep -qE 'ERROR: [A-Za-z]+Sanitizer|runtime error:' "$log"; then
    tail -n 40 "$log"
    echo "fuzz_$name: FAILED (exit $status), see $log and build-fuzz/crash-$name-*"
    return 1
  fi
  runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log")
  echo "fuzz_$name: ${runs:-no run count}, no crash"
}

if [ "$mode" = fuzz ]; then
  seconds="${2:-30}"
  targets=("${@:3}")
  [ ${#targets[@]} -gt 0 ] || targets=(map entities stagetable exetable settings script picture npctable tiletypes cellsclip)
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVORN_FUZZ=ON
  cmake --build build-fuzz -j2
  export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  failed=0
  for name in "${targets[@]}"; do
    fuzz_target "$name" "$seconds" || failed=1
  done
  exit $failed
fi

build() {
  cmake -S . -B build -G Ninja -DVORN_WERROR="${VORN_WERROR:-OFF}"
  cmake --build build
}

case "$mode" in
  run)
    build
    [ -d sample-game ] || build/bin/vorn-sample-game sample-game
    [ -f build/bin/vorn.ini ] || cp tools/vorn.ini build/bin/vorn.ini
    cd sample-game
    exec ../build/bin/vorn
    ;;
  test)
    build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure
    ;;
  sanitize)
    # Set before building too: test discovery runs the GoogleTest program.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions="$PWD/tests/sanitizers/lsan.supp"
    # Never warnings as errors here: GCC's bounds warnings misfire on Qt's
    # inlined byte reads once the sanitizers are on.
    cmake -S . -B build-asan -G Ninja -DVORN_SANITIZE=ON -DVORN_BENCH=OFF -DVORN_WERROR=OFF
    cmake --build build-asan --parallel "$(nproc)"
    cd build-asan
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure
    ;;
  *)
    echo "usage: $0 [run|test|sanitize|fuzz [SECONDS [TARGET...]]]" >&2
    exit 2
    ;;
esac
