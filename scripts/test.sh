#!/usr/bin/env bash
# Runs every test: the native tests, the same tests under ASan/UBSan, the
# Windows tests of both architectures under Wine on a private Xvfb display,
# and a bounded fuzz run. Installs what it needs first. Exit 0 only when all pass.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
fuzz_seconds=${KINETILE_FUZZ_SECONDS:-30}

"$root/scripts/install-deps.sh" || exit 1
"$root/scripts/build.sh" || { echo "build failed"; exit 1; }

# shellcheck source=xvfb.sh
. "$root/scripts/xvfb.sh"
KINETILE_FORCE_XVFB=1 kinetile_start_xvfb || exit 1

passed=0 failed=0
run_ctest() {
  local name=$1 log
  log=$(mktemp)
  echo "== $name"
  (cd "$root/build/$name" && ctest -j "$(nproc)" --output-on-failure) >"$log" 2>&1
  grep -vE '^\s*$|^Test project|^Total Test time' "$log" | grep -vE '^\s+Start ' || true
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ -n "$line" ]; then
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  else
    failed=$((failed + 1))
  fi
  rm -f "$log"
}

run_ctest native
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest sanitize
run_ctest win-x86_64
run_ctest win-i686

echo "== fuzz (${fuzz_seconds}s)"
corpus=$root/build/fuzz/corpus
mkdir -p "$corpus"
if "$root/build/fuzz/fuzz/gif_index_fuzz" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
     -print_final_stats=1 -artifact_prefix="$root/build/fuzz/" "$corpus" "$root/tests/data" \
     >"$root/build/fuzz/last-run.log" 2>&1; then
  grep -E '^stat::number_of_executed_units' "$root/build/fuzz/last-run.log" | sed 's/^stat::/   /'
  passed=$((passed + 1))
else
  tail -40 "$root/build/fuzz/last-run.log"
  echo "fuzz: FAILED (crash input saved under build/fuzz/)"
  failed=$((failed + 1))
fi

echo
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
