#!/usr/bin/env bash
# Installs what Cardwright needs on Debian 12, builds it, and runs it or its tests.
#   bash tools/dev.sh run    install, build, start the program on the shipped sample data
#   bash tools/dev.sh test   install, build, run the whole test suite
#   bash tools/dev.sh sanitize   the test suite again under AddressSanitizer + UBSan
#   bash tools/dev.sh threads    the tests of the work done on threads under ThreadSanitizer
#   bash tools/dev.sh format     check that src, tests and bench follow .clang-format
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgtest-dev libgmock-dev
          libbenchmark-dev fonts-liberation fonts-liberation2 python3 python3-fonttools xvfb xauth
          clang libclang-rt-14-dev libgif-dev libpng-dev libjpeg62-turbo-dev libcurl4-openssl-dev poppler-utils
          python3-aiosmtpd xdg-utils clang-format desktop-file-utils appstream shared-mime-info
          dpkg-dev file lintian libpoppler-qt6-dev python3-reportlab python3-pypdf
          libarchive-dev)

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() { # build DIR [cmake options...] [--target T...]
    local dir=$1; shift
    local options=() targets=()
    while [ $# -gt 0 ]; do
        if [ "$1" = "--target" ]; then targets+=(--target "$2"); shift 2
        else options+=("$1"); shift; fi
    done
    cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
    cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
}

run_tests() { # run_tests DIR
    # The suite draws on the offscreen platform; nothing needs a display.
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j "$(nproc)"
}

case "${1:-}" in
run)
    install_packages
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec build/cardwright "${@:2}"
    ;;
test)
    install_packages
    build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    run_tests build
    ;;
sanitize)
    install_packages
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DCW_SANITIZE=ON -DCW_BENCH=OFF
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    ;;
threads)
    # Sending the error report runs on a thread of its own; picture exports may run at once.
    # Qt itself is not instrumented: its internals are left out (tests/tsan.supp).
    install_packages
    thread_tests=(test_errors_ui test_export test_mail)
    thread_targets=()
    for t in "${thread_tests[@]}"; do thread_targets+=(--target "$t"); done
    build build-tsan -DCMAKE_BUILD_TYPE=Debug -DCW_THREAD_SANITIZE=ON -DCW_BENCH=OFF \
        "${thread_targets[@]}"
    for t in "${thread_tests[@]}"; do
        QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" \
            "build-tsan/tests/$t"
    done
    ;;
format)
    # Every C++ file as the repository's .clang-format writes it; fails naming the files that
    # are not.
    install_packages
    find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run -Werror
    ;;
fuzz)
    # The file readers under libFuzzer (clang, ASan + UBSan), one after the other, each for
    # ${FUZZ_SECONDS:-60} seconds; FUZZ_TARGETS picks some of them. Inputs that crash or hang
    # are left in build-fuzz/findings-TARGET; copy them into tests/fuzz/corpus/TARGET once
    # fixed, so that CTest replays them.
    install_packages
    targets=(${FUZZ_TARGETS:-card settings defaults layout notes markup})
    build_targets=()
    for t in "${targets[@]}"; do build_targets+=(--target "fuzz_$t"); done
    CC=clang CXX=clang++ build build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCW_FUZZ=ON -DCW_SANITIZE=ON \
        -DCW_BENCH=OFF "${build_targets[@]}"
    for t in "${targets[@]}"; do
        mkdir -p "build-fuzz/corpus-$t" "build-fuzz/findings-$t"
        nice -n 10 "build-fuzz/tests/fuzz/fuzz_$t" -max_total_time="${FUZZ_SECONDS:-60}" \
            -timeout=10 -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 \
            -artifact_prefix="build-fuzz/findings-$t/" \
            "build-fuzz/corpus-$t" "tests/fuzz/corpus/$t"
    done
    ;;
*)
    echo "usage: bash tools/dev.sh run|test|sanitize|threads|format|fuzz" >&2
    exit 2
    ;;
esac
