#!/usr/bin/env bash
# CTest, told briefly: every failure in full (CTest's --output-on-failure), then one line
# per test suite and why each skipped test was skipped. The arguments go to ctest; run it
# in the build folder.
set -uo pipefail
junit="$(mktemp)"
trap 'rm -f "$junit"' EXIT
# Passed and skipped tests are counted in the summary below rather than listed one by one.
ctest --output-on-failure --output-junit "$junit" "$@" |
    grep -vE '^ +Start +[0-9]+: |^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*( Passed|\*\*\*Skipped) +[0-9.]+ sec$'
status=${PIPESTATUS[0]}
if [[ -s "$junit" ]]; then
    python3 "$(dirname "$0")/test_summary.py" "$junit"
fi
exit "$status"
