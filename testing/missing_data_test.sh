#!/usr/bin/env bash
# A test program over the shared records, run with ZENTROVA_TEST_DATA
# naming a folder that does not exist: its tests are skipped, each with the
# one line that says where it looked; with ZENTROVA_REQUIRE_TEST_DATA=1 the
# same run fails.
#   missing_data_test.sh TEST_PROGRAM GTEST_FILTER
set -uo pipefail
program=$1
filter=$2
missing=$(mktemp -u /tmp/zentrova-no-data-XXXXXX)
line="no shared test data: looked for the records in $missing/seg2 (set ZENTROVA_TEST_DATA to the folder that holds seg2/)"

out=$(ZENTROVA_TEST_DATA=$missing ZENTROVA_REQUIRE_TEST_DATA= "$program" --gtest_filter="$filter" 2>&1)
status=$?
[ $status -eq 0 ] || { echo "FAIL: exit $status without the data"; echo "$out"; exit 1; }
skipped=$(grep -cE '^\[  SKIPPED \] .* \([0-9]+ ms\)$' <<<"$out")
said=$(grep -cxF "$line" <<<"$out")
[ "$skipped" -gt 0 ] || { echo "FAIL: nothing skipped"; echo "$out"; exit 1; }
[ "$said" -eq "$skipped" ] || { echo "FAIL: $skipped skipped, $said with the line"; echo "$out"; exit 1; }
grep -q '^\[  FAILED  \]' <<<"$out" && { echo "FAIL: a test failed"; echo "$out"; exit 1; }

ZENTROVA_TEST_DATA=$missing ZENTROVA_REQUIRE_TEST_DATA=1 "$program" --gtest_filter="$filter" >/dev/null 2>&1 \
  && { echo "FAIL: missing data passed although it was required"; exit 1; }

# A relative name is taken from the folder the test runs in, and the line
# says which folder that is.
relative=$(cd /tmp && ZENTROVA_TEST_DATA=no-such-data ZENTROVA_REQUIRE_TEST_DATA= "$program" --gtest_filter="$filter" 2>&1)
grep -qxF "no shared test data: looked for the records in /tmp/no-such-data/seg2 (set ZENTROVA_TEST_DATA to the folder that holds seg2/)" <<<"$relative" \
  || { echo "FAIL: a relative ZENTROVA_TEST_DATA is not said as the folder looked in"; echo "$relative"; exit 1; }
echo "ok: $skipped tests skipped with: $line"
