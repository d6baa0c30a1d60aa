#!/bin/sh
# A run killed mid-transfer, mid-expansion and while it places files, then started again
# with the same command line, ends with the release installed: every file as published,
# the shared file counted once, no work file left anywhere, the marker cleared.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
. "$(dirname "$0")/killlib.sh"
kill_begin

# The large item is transferred slowly; the kill comes once the item before it is placed.
site_faults "LogItemAttachment.aspx?Item=$(site_list_field ledger.txt 0) slow 200000"
kill_start
e2e_wait_until 300 'kill_logged "fncsymbols.ttf ---> OK"' || e2e_fail "transfer: the run never reached the large item"
kill_now
kill_logged 'ledger.txt ---> OK' && e2e_fail "transfer: the kill came after the large item"
kill_rerun
kill_check transfer
kill_reset

# Killed while the large item is expanded beside its target.
kill_start
kill_wait_work_file "$KILL_DIR" || e2e_fail "expansion: no expansion was seen"
kill_now
cmp -s "$(e2e_path "$KILL_DIR\\ledger.txt")" "$KILL_PRODUCT/ledger.txt" && e2e_fail "expansion: the kill came after the placement"
kill_rerun
kill_check expansion
kill_reset

# Killed while the first files are placed.
kill_start
e2e_wait_until 300 '[ "$(kill_log | grep -c -- "---> OK")" -ge 3 ]' || e2e_fail "placement: no files were placed"
kill_now
kill_logged 'completed successfully' && e2e_fail "placement: the kill came after the run"
kill_rerun
kill_check placement

e2e_end
