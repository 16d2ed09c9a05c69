#!/usr/bin/env bash
# The whole test suite: every test under AddressSanitizer and UBSan, the
# thread-mode tests under ThreadSanitizer, each fuzz target for a short,
# bounded time. Fails when anything fails.
#   FUZZ_SECONDS=n   time per fuzz target (default 30)
set -euo pipefail
# A relative ZENTROVA_TEST_DATA names a folder seen from where the command
# was started, not from the source tree or a test's build folder.
[ -z "${ZENTROVA_TEST_DATA:-}" ] || export ZENTROVA_TEST_DATA=$(realpath -m -- "$ZENTROVA_TEST_DATA")
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=$(nproc)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZENTROVA_WERROR=ON \
  -DZENTROVA_SANITIZE="address;undefined"
cmake --build build/asan -j "$jobs"

CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTROVA_WERROR=ON \
  -DZENTROVA_FUZZ=ON -DZENTROVA_TESTS=OFF -DZENTROVA_BENCH=OFF -DZENTROVA_SANITIZE="address;undefined"
cmake --build build/fuzz -j "$jobs"

# The thread-mode tests once more under ThreadSanitizer.
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZENTROVA_WERROR=ON -DZENTROVA_SANITIZE=thread \
  -DZENTROVA_BENCH=OFF
cmake --build build/tsan -j "$jobs" --target monitor_tests concat_tests notify_tests surfacewave_upload_tests \
  display_velocity_tests
if [ -e build/tsan/app/shell ]; then cmake --build build/tsan -j "$jobs" --target views_tests dialogs_tests shell_tests; fi
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build/tsan/monitor/monitor_tests --gtest_filter='ControlForm.*'
TSAN_OPTIONS=halt_on_error=1 build/tsan/concat/concat_tests \
  --gtest_filter='Concatenation.OnAWorkerThread:Concatenation.EndedWorkersAreJoinedAndDoNotPileUp:ConcatenationWorkers.*'
TSAN_OPTIONS=halt_on_error=1 build/tsan/notify/notify_tests --gtest_filter='FormOutbox.*:MailOutbox.*:Outbox.*:OutboxShared.*:OutboxSpoolFiles.*:HttpAbort.*:HttpAnswer.*'
TSAN_OPTIONS=halt_on_error=1 build/tsan/surfacewave/surfacewave_upload_tests --gtest_filter='QueueFixture.*'
TSAN_OPTIONS=halt_on_error=1 build/tsan/display/display_velocity_tests --gtest_filter='VelocityViewsThread.*'
# The desktop program's monitor in its window. Qt's libraries are not built
# with ThreadSanitizer: what they allocate on one thread and free on another
# under their own locks (the paint engine's thread pool) is not taken for
# a race; every access of the station's own code still is.
if [ -e build/tsan/app/shell/shell_tests ]; then
  QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1:ignore_noninstrumented_modules=1" \
    build/tsan/app/shell/shell_tests --gtest_filter='DesktopThread.*:DesktopTimer.*:DesktopStation.Confirmed*'
  # The views painting beside the monitor thread, and message boxes asked from it.
  QT_QPA_PLATFORM=offscreen TSAN_OPTIONS=halt_on_error=1:suppressions=$PWD/app/views/tsan_qt.supp \
    build/tsan/app/views/views_tests --gtest_filter='ViewThreads.*'
  QT_QPA_PLATFORM=offscreen TSAN_OPTIONS=halt_on_error=1:suppressions=$PWD/app/views/tsan_qt.supp \
    build/tsan/app/dialogs/dialogs_tests --gtest_filter='QtPromptTest.*'
fi

seconds=${FUZZ_SECONDS:-30}
for target in seg2_reader mtneo_import; do
  corpus=fuzz/corpus/${target%%_*}
  [ "$target" = mtneo_import ] && corpus=fuzz/corpus/mtneo
  work=$(mktemp -d)
  echo "fuzzing $target for ${seconds}s"
  (cd "$work" && "$OLDPWD/build/fuzz/fuzz/${target}_fuzz" -max_total_time="$seconds" -max_len=16384 \
      -rss_limit_mb=2048 -print_final_stats=1 "$work" "$OLDPWD/$corpus" 2>&1 | tail -n 3)
  rm -rf "$work"
done

ctest --test-dir build/asan -j "$jobs" --output-on-failure --timeout 600
