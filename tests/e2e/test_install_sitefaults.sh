#!/bin/sh
# A site that does not deliver the list (a refusal with a message, an HTML page, a 401
# for every password): each silent run ends with exit code 0, says why in the log, and
# leaves the installation as it was. (A wrong password: the transfer probe's test.)
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

e2e_mkdir 'C:\Fin\usr'
e2e_write_file 'C:\Fin\bin\fncmain.exe' 'the installed main program'

# Runs silently into C:\Fin with the site's fault WHAT; leaves the log's text in $log.
run_with() {
  rm -f "$(e2e_log_file 'C:\Fin')"
  site_install 'C:\Fin'
  log=$(e2e_read_log 'C:\Fin') || { e2e_fail "no log with $1"; log=""; }
  e2e_expect_eq "$(cat "$(e2e_path 'C:\Fin\bin\fncmain.exe')")" 'the installed main program' "fncmain.exe after $1"
  e2e_expect_eq "$(printf '%s\n' "$log" | grep -c -e '---> OK')" 0 "items installed with $1"
}

site_faults '*?Action=1 error Closed for maintenance'
run_with 'a refused list'
printf '%s\n' "$log" | grep -q -F 'Closed for maintenance' || e2e_fail "the log lacks the site's message"
printf '%s\n' "$log" | grep -q -F '__ERROR__' && e2e_fail "the log shows the refusal's marker instead of its message"

site_faults '*?Action=1 html'
run_with 'an HTML page for the list'
printf '%s\n' "$log" | grep -q -F "Failed to download: 'HalomirPlandrix.lst'" ||
  e2e_fail "the log lacks \"Failed to download: 'HalomirPlandrix.lst'\""

# The list refused whatever the credentials: no run may end as if it had installed.
site_faults '*?Action=1 401'
site_clear_log
run_with 'a site that refuses every password for the list'
refusals=$(site_requests 'Action=1&' | wc -l | tr -d ' ')
[ "$refusals" -ge 1 ] && [ "$refusals" -le 20 ] || e2e_fail "the 401 loop asked $refusals times for the list"
printf '%s\n' "$log" | grep -q -F 'The installation has been completed successfully.' &&
  e2e_fail "a run whose list was refused reports a completed installation"
e2e_flush
e2e_expect_reg_absent 'HKCU\Software\Molvex\e-Halomir Plandrix' Release

e2e_end
