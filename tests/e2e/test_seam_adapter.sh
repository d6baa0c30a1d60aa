#!/bin/sh
# The seam probe checks the Win32 adapter under Wine against what the unit tests' fake
# promises; started from a folder with a blank, so its own name on the line is quoted.
. "$(dirname "$0")/lib.sh"

e2e_begin --headless
e2e_install_program seamprobe.exe 'C:\Probe Dir'
e2e_mkdir 'C:\ProbeWork'
e2e_run_line '"C:\Probe Dir\seamprobe.exe" C:\ProbeWork /IM:3 /nocheck'
grep -E '^(ok|FAIL) ' "$E2E_WORK/run.out" | sed 's/^/  /' >&2
e2e_expect_eq "$E2E_RC" 0 "failed checks of the seam probe"
grep -q '^failures=0' "$E2E_WORK/run.out" || e2e_fail "the probe did not finish its checks"
e2e_end
