#!/bin/sh
# An installation killed mid-transfer, mid-expansion and while it places files, then run
# again with the same command line, ends installed: every file as published, the shared
# file counted once, no work file left anywhere, the install-status marker cleared.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
. "$(dirname "$0")/killlib.sh"
kill_begin

# The large item arrives slowly; the kill comes once the item before it is placed.
site_faults "LogItemAttachment.aspx?Item=$(site_list_field ledger.txt 0) slow 200000"
kill_start
e2e_wait_until 300 '[ "$(kill_logged "fncsymbols.ttf ---> OK")" = 1 ]' && kill_now
e2e_expect_eq "$(kill_logged "ledger.txt ---> OK")" 0 "transfer: the large item after the kill"
kill_rerun_and_check transfer
kill_reset

kill_start
kill_when_expanding || e2e_fail "expansion: no expansion was seen"
e2e_expect_eq "$(kill_logged "ledger.txt ---> OK")" 0 "expansion: the large item after the kill"
kill_rerun_and_check expansion
kill_reset

kill_start
e2e_wait_until 300 '[ "$(kill_logged "---> OK")" -ge 3 ]' && kill_now
e2e_expect_eq "$(kill_logged "completed successfully")" 0 "placement: the run after the kill"
kill_rerun_and_check placement
e2e_end
