#!/usr/bin/env bash
# Sets up a Debian 12 machine for Vorn, builds it, then either opens the
# editor on the bundled sample game ("run"), runs every test ("test"), or
# builds a second tree under AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test there, any report failing it ("sanitize").
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth fonts-dejavu-core fonts-ipafont-gothic
          desktop-file-utils appstream)
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

build() {
  cmake -S . -B build -G Ninja
  cmake --build build
}

case "${1:-run}" in
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
    cmake -S . -B build-asan -G Ninja -DVORN_SANITIZE=ON -DVORN_BENCH=OFF
    cmake --build build-asan --parallel "$(nproc)"
    cd build-asan
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure
    ;;
  *)
    echo "usage: $0 [run|test|sanitize]" >&2
    exit 2
    ;;
esac
