#!/usr/bin/env bash
# Runs gifinfo over every *.gif on this machine (outside the volatile trees):
# files with a GIF signature must be read (exit 0), others rejected (exit 2);
# anything else (a crash, a sanitizer report) fails.
set -uo pipefail
gifinfo=$1
checked=0 failed=0
while IFS= read -r -d '' file; do
  sig=$(head -c 6 "$file" 2>/dev/null)
  want=2
  [[ $sig == GIF87a || $sig == GIF89a ]] && want=0
  for mode in "" "--fix"; do
    "$gifinfo" --json $mode "$file" >/dev/null 2>/tmp/scan-gif.err.$$
    rc=$?
    if [[ $rc != "$want" ]]; then
      echo "FAIL: $file (gifinfo $mode exited $rc, wanted $want)"
      head -20 /tmp/scan-gif.err.$$
      failed=$((failed + 1))
    fi
  done
  checked=$((checked + 1))
done < <(find / -xdev \( -path /proc -o -path /sys -o -path /dev -o -path /tmp \) -prune -o \
              -type f -iname '*.gif' -print0 2>/dev/null)
rm -f /tmp/scan-gif.err.$$
echo "gifinfo read $checked GIF files on this machine, $failed failures"
[[ $failed == 0 ]]
