#!/usr/bin/env bash
# Builds with warnings as errors and runs the whole test suite, then builds the program and its
# unit and whole-program tests again with AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer included) and runs those. LUMBRIX_SANITIZE_RUN=0 skips the second part.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
scripts/build.sh -DLUMBRIX_WERROR=ON
(cd "${BUILD_DIR:-build}" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)

[ "${LUMBRIX_SANITIZE_RUN:-1}" = 0 ] && exit 0
# -O1 with line tables only (-g1) keeps the instrumented build and run short while reports
# still name file and line. The window suites (QtTest binaries, named *_test) run in the build
# above only; the 20,000-pixel bomb is measured there too, since the sanitizers' own memory
# would blur its bound.
sanitize_dir=${SANITIZE_BUILD_DIR:-build-asan}
cmake -S . -B "$sanitize_dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g1" \
  -DLUMBRIX_SANITIZE=ON -DLUMBRIX_WERROR=ON >/dev/null
cmake --build "$sanitize_dir" --target lumbrix lumbrix_unit_tests lumbrix_e2e_tests
cd "$sanitize_dir"
QT_QPA_PLATFORM=offscreen LUMBRIX_SKIP_LARGE=1 \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  LSAN_OPTIONS="suppressions=$root/tests/e2e/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j2 -E '_test$'
