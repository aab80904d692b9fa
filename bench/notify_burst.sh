#!/usr/bin/env bash
# Burst benchmark under Wine: 2,000 killed-popup notifications posted at once.
# Reports the time until every one is listed and every atom freed, notifications per
# second, and Vrin's resident memory before and after.
#   bench/notify_burst.sh [COUNT]        (build the win64 preset first)
set -u
source "$(dirname "$0")/../scripts/lib.sh"
cd "$root"
count=${1:-2000}
bin=${VRIN_BENCH_BIN:-$root/build/win64/bin}
trap vrin_cleanup EXIT
vrin_display || exit 1
vrin_prefix "$root/build/bench-prefix"
wine reg delete 'HKCU\Vrin' /f >/dev/null 2>&1
wine "$bin/Vrin.exe" >/dev/null 2>&1 &
for _ in $(seq 100); do
  pid=$(pgrep -f 'Vrin.exe' | head -n1)
  [ -n "$pid" ] && wine "$bin/notify.exe" --wait-window 1 --quiet --count 1 http://warm.example/ >/dev/null 2>&1 && break
  sleep 0.2
done
pid=$(pgrep -f 'Vrin.exe' | head -n1)
[ -n "$pid" ] || { echo "Vrin did not start"; exit 1; }
sleep 3   # start-up and the start balloon have settled
rss() { awk '/VmRSS/ {print $2}' "/proc/$pid/status"; }
before=$(rss)
out=$(wine "$bin/notify.exe" --count "$count" --wait-consumed 120 "http://burst.example/popup?id=1234567890" 2>&1 | tr -d '\r')
after=$(rss)
echo "$out"
ms=$(sed -n 's/^consumed .* in \([0-9.]*\) ms$/\1/p' <<<"$out")
[ -n "$ms" ] || { echo "the burst was not consumed"; exit 1; }
awk -v n="$count" -v ms="$ms" -v b="$before" -v a="$after" 'BEGIN {
  printf "burst: %d notifications listed and atoms freed in %.0f ms = %.0f per second\n", n, ms, n * 1000 / ms;
  printf "memory (VmRSS): before %d KiB, after %d KiB, growth %d KiB (%.1f bytes per entry)\n", b, a, a - b, (a - b) * 1024 / n }'
