#!/bin/sh
# A QS line's runs: the report runtime's package installed quietly or, damaged, failing the
# run with the installer's number; the services stopped and started around each run.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
command -v wixl >/dev/null 2>&1 || { e2e_note "wixl is not installed: run scripts/setup.sh"; exit 1; }
e2e_begin
SITE_LINE=QS2003
cp -a "$PLANDRIX_SAMPLE_DIR" "$E2E_WORK/product"
printf 'report runtime\n' > "$E2E_WORK/runtime.txt"
cat > "$E2E_WORK/rt.wxs" <<'WXS'
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Product Id="*" Name="Runtime" Language="1033"
 Version="11.5.0.0" Manufacturer="Tests" UpgradeCode="6a1d7c2e-3b4f-4e5a-9c8d-7e6f5a4b3c2d">
<Package Compressed="yes" InstallScope="perMachine"/><Media Id="1" Cabinet="rt.cab" EmbedCab="yes"/>
<Directory Id="TARGETDIR" Name="SourceDir"><Directory Id="ProgramFiles64Folder"><Directory Id="D" Name="ReportRuntime">
<Component Id="C" Guid="3f2e1d0c-9b8a-4766-8544-332211000fed" Win64="yes"><File Id="F" Source="runtime.txt"/>
<RegistryValue Root="HKLM" Key="Software\Business Objects\Suite 11.5\Shared" Name="CommonFiles" Type="string"
 Value="C:\Program Files\ReportRuntime"/></Component></Directory></Directory></Directory>
<Feature Id="Main" Level="1"><ComponentRef Id="C"/></Feature></Product></Wix>
WXS
(cd "$E2E_WORK" && wixl -a x64 -o product/bin/MolvexCRWXI.msi rt.wxs) || exit 1
site_publish "$E2E_WORK/product" "$E2E_WORK/site"
cp -a "$E2E_WORK/product" "$E2E_WORK/damaged"
printf 'not a package' > "$E2E_WORK/damaged/bin/MolvexCRWXI.msi"
site_publish "$E2E_WORK/damaged" "$E2E_WORK/site2"

# Two real services run the service probe; the entity service holds the old main program
# open. Their log must show that each run stopped both and started them again, whatever
# became of it; they run through all three runs, as on a workstation.
services='MolvexEntityService MolvexSynchronizationDispatcherMonitor_QS'
log="$(e2e_path 'C:\')/services.log"
expect_log() { e2e_expect_eq "$(tr -d '\r' < "$log")" "$1" "the services' log $2"; rm -f "$log"; }
# After a Cancel both the window and the run start the services, so the starts may come in
# either order; each service must be started once.
expect_services() {
  for service in $services; do
    wine sc query "$service" | grep -q RUNNING || e2e_fail "$service is not running after the $1 run"
  done
  { sed -n 1,2p "$log" && sed '1,2d' "$log" | sort; } > "$log.sorted" && mv "$log.sorted" "$log"
  expect_log 'MolvexEntityService stopped
MolvexSynchronizationDispatcherMonitor_QS stopped
MolvexEntityService started
MolvexSynchronizationDispatcherMonitor_QS started' "of the $1 run"
}
run_qs() { rm -f "$(e2e_log_file 'C:\Qs')"; e2e_run "/S:2 /P:QS2003 /I:\"C:\\Qs\" /W:$SITE_URL /USER:demo /PW:demo /R:30052"; }

e2e_write_file 'C:\Qs\bin\fncmain.exe' 'the old main program'
e2e_mkdir 'C:\Qs\usr'
e2e_install_program serviceprobe.exe 'C:\e2e'
wine sc create MolvexEntityService binPath= 'C:\e2e\serviceprobe.exe C:\Qs\bin\fncmain.exe' >/dev/null
wine sc create MolvexSynchronizationDispatcherMonitor_QS binPath= 'C:\e2e\serviceprobe.exe' >/dev/null
for service in $services; do out=$(wine net start "$service" 2>&1) || e2e_fail "$service did not start: $out"; done
expect_log 'MolvexEntityService started
MolvexSynchronizationDispatcherMonitor_QS started' "before the runs"

e2e_install_program HalomirPlandrix.exe
site_start "$E2E_WORK/site"
run_qs
e2e_expect_log_contains 'C:\Qs' 'MolvexCRWXI.msi ---> OK'
# The entity service let go of the main program before the run replaced it.
e2e_expect_log_contains 'C:\Qs' 'C:\Qs\bin\fncmain.exe ---> OK'
e2e_read_log 'C:\Qs' | grep -F 'In use' && e2e_fail "a file was in use while the services were stopped"
e2e_expect_same 'C:\Qs\bin\fncmain.exe' "$E2E_WORK/product/bin/fncmain.exe"
e2e_expect_same 'C:\Program Files\ReportRuntime\runtime.txt' "$E2E_WORK/runtime.txt"
expect_services successful
wine reg query 'HKLM\Software\Business Objects\Suite 11.5\Shared' /v CommonFiles | grep -qF 'C:\Program Files\ReportRuntime' ||
  e2e_fail "the runtime's package did not record its folder"

# Without the runtime again, the damaged package fails the run with the installer's number.
wine reg delete 'HKLM\Software\Business Objects' /f >/dev/null 2>&1
rm -f "$E2E_WORK/site-port"
site_start "$E2E_WORK/site2"
run_qs
code=$(e2e_read_log 'C:\Qs' | sed -n 's/^.*MsiVerifyPackage Failed - .*MolvexCRWXI.msi, Code - \([0-9]*\).*$/\1/p')
[ -n "$code" ] && [ "$code" != 0 ] || e2e_fail "the damaged package's verification was not logged"
e2e_expect_log_contains 'C:\Qs' "Unable to start setup: Crystal Report 11 '$SITE_URL/docs/LogItemAttachment.aspx?Item="
e2e_expect_log_contains 'C:\Qs' "Error: $code"
expect_services failed

# Cancelled while the services stop.
: > "$(e2e_path 'C:\MolvexSynchronizationDispatcherMonitor_QS.cancel')"
run_qs
e2e_expect_log_contains 'C:\Qs' 'Canceled by user'
expect_services cancelled
e2e_end
