#!/bin/sh
# Kills the real program under Wine at random moments of a silent installation of the
# sample (with one large item) and runs the same command line again each time; after
# every rerun the release must be installed as published, the shared file counted once,
# no work file left and the install-status marker cleared. Prints one line per kill
# and a summary. Needs the windows and native builds.
# usage: tools/killstress/kill-stress.sh [KILLS=20]
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
KILLS=${1:-20}
export E2E_LIB_DIR="$ROOT/tests/e2e" PLANDRIX_E2E_ROOT="${PLANDRIX_E2E_ROOT:-$ROOT/build/wine}"
. "$E2E_LIB_DIR/lib.sh"
. "$E2E_LIB_DIR/sitelib.sh"
. "$E2E_LIB_DIR/killlib.sh"
KILL_DIR='C:\Fin'
kill_begin

# A machine without the installation again, for the next kill.
kill_reset() {
  rm -rf "$(e2e_path "$KILL_DIR")" "$(e2e_path "$KILL_SHARED")"
  wine reg delete "$KILL_COUNTS" /v "$KILL_SHARED" /f >/dev/null 2>&1
  wine reg delete 'HKLM\Software\Molvex\e-Halomir Plandrix\C:-Fin' /f >/dev/null 2>&1
}

# One whole run measured. Every other kill falls at a random moment within such a run;
# the others come as soon as the log shows a random number of items placed, so that
# some land among the items however busy the machine is.
now_ms() { echo $(($(date +%s%N) / 1000000)); }
started=$(now_ms)
kill_start
wait "$KILL_PID"
RUN_MS=$(($(now_ms) - started))
ITEMS=$(kill_logged '---> OK')
kill_reset
printf 'one whole run: %d ms, %d items placed\n' "$RUN_MS" "$ITEMS"

passed=0 transfers=0 expansions=0 finished=0
for n in $(seq "$KILLS"); do
  kill_start
  started=$(now_ms)
  if [ $((n % 2)) -eq 0 ]; then
    after=$(shuf -i 1-"$((ITEMS - 1))" -n 1)
    while kill -0 "$KILL_PID" 2>/dev/null && [ "$(kill_logged '---> OK')" -lt "$after" ]; do sleep 0.005; done
  else
    delay=$(shuf -i 0-"$RUN_MS" -n 1)
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  fi
  kill_now
  delay=$(($(now_ms) - started))
  placed=$(kill_logged '---> OK')
  transfer=$(find "$WINEPREFIX/drive_c/users" -iname '_sy*.tmp' | wc -l)
  expansion=$(find "$(e2e_path "$KILL_DIR")" "$(e2e_path 'C:\windows')" -iname '_sy*.tmp' -size +0 | wc -l)
  done_before=$(kill_logged 'completed successfully')
  e2e_flush
  count=$(e2e_reg_get "$KILL_COUNTS" "$KILL_SHARED" || echo none)
  [ "$transfer" -gt 0 ] && transfers=$((transfers + 1))
  [ "$expansion" -gt 0 ] && expansions=$((expansions + 1))
  [ "$done_before" -gt 0 ] && finished=$((finished + 1))
  failures=$E2E_FAILURES
  kill_rerun_and_check "kill $n" 1
  verdict=FAILED
  if [ "$E2E_FAILURES" -eq "$failures" ]; then verdict=ok passed=$((passed + 1)); else cp "$(e2e_log_file "$KILL_DIR")" "$E2E_WORK/kill-$n.log"; fi
  printf 'kill %2d at %5d ms: %2d items placed, transfer files %d, expansion files %d, run finished %d, use count %s; rerun %s\n' \
    "$n" "$delay" "$placed" "$transfer" "$expansion" "$done_before" "$count" "$verdict"
  kill_reset
  e2e_flush
  e2e_reg_get "$KILL_COUNTS" "$KILL_SHARED" >/dev/null && e2e_fail "kill $n: the use count outlived the reset"
done
printf 'summary: %d kills, %d reruns ended installed and clean; killed mid-transfer %d, mid-expansion or placement %d, after the run %d\n' \
  "$KILLS" "$passed" "$transfers" "$expansions" "$finished"
e2e_end
