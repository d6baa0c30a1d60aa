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

# A stand-in "net.exe" records its command lines; with C:\cancel.flag, stopping the
# monitor presses the progress window's Cancel and returns once the window has closed.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;net.exe=n"
cat > "$E2E_WORK/net.c" <<'C'
#include <windows.h>
#include <stdio.h>
int main(void) {
  FILE* log = fopen("C:\\net.txt", "a"); fprintf(log, "%s\n", GetCommandLineA()), fclose(log);
  HWND window = FindWindowA("HalomirInstaller", NULL);
  if (GetFileAttributesA("C:\\cancel.flag") != INVALID_FILE_ATTRIBUTES && strstr(GetCommandLineA(), "STOP \"MolvexSync"))
    for (PostMessageA(window, WM_COMMAND, 2, 0); IsWindow(window);) Sleep(100);  /* until the window has closed */
  return 0;
}
C
x86_64-w64-mingw32-gcc -O2 -o "$(e2e_path 'C:\windows\system32')/net.exe" "$E2E_WORK/net.c" || exit 1
# Each run stops the two services and starts them again once, whatever became of it.
expect_services() {
  e2e_expect_eq "$(tr -d '\r' < "$(e2e_path 'C:\net.txt')" | sed 's/^[^ ]*net\.exe //')" 'STOP "MolvexEntityService"
STOP "MolvexSynchronizationDispatcherMonitor_QS"
START "MolvexEntityService"
START "MolvexSynchronizationDispatcherMonitor_QS"' "service commands of the $1 run"
  rm -f "$(e2e_path 'C:\net.txt')"
}
run_qs() { e2e_mkdir 'C:\Qs\usr'; rm -f "$(e2e_log_file 'C:\Qs')"; e2e_run "/S:2 /P:QS2003 /I:\"C:\\Qs\" /W:$SITE_URL /USER:demo /PW:demo /R:30052"; }

e2e_install_program HalomirPlandrix.exe
site_start "$E2E_WORK/site"
run_qs
e2e_expect_log_contains 'C:\Qs' 'MolvexCRWXI.msi ---> OK'
e2e_expect_same 'C:\Program Files\ReportRuntime\runtime.txt' "$E2E_WORK/runtime.txt"
expect_services successful
e2e_flush
e2e_expect_reg 'HKLM\Software\Business Objects\Suite 11.5\Shared' CommonFiles 'C:\Program Files\ReportRuntime'

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
: > "$(e2e_path 'C:\cancel.flag')"
run_qs
e2e_expect_log_contains 'C:\Qs' 'Canceled by user'
expect_services cancelled
e2e_end
