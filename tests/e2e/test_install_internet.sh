#!/bin/sh
# A silent internet workstation installation of the sample: every item lands in its
# place as published, with the list's date as its last-write time, and is logged
# "---> OK". While the run installs the machine key says "Updating"; afterwards the
# per-user settings hold what the run used (never the password), the bin folder leads
# the search path and the product's shortcuts are on the common desktop and Start menu.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

machine_key='HKLM\Software\Molvex\Molvex for Windows\4.0'
user_key='HKCU\Software\Molvex\e-Halomir Plandrix'
environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
path_before=$(e2e_reg_get "$environment" path)

# A date of its own for every record, none of them today's, so that a file that kept
# the time of its expansion or of the cabinet is caught.
awk -F '\t' 'BEGIN { OFS = "\t" } { $5 = sprintf("%02d-03-2024 10:%02d:%02d", NR, NR, 2 * NR); print }' \
  "$SITE_LIST" > "$SITE_LIST.new" && mv "$SITE_LIST.new" "$SITE_LIST"

# One item arrives slowly, so that the run is still installing when the marker is read.
slow_item=$(site_list_field fncaccounts.txt 0)
site_faults "LogItemAttachment.aspx?Item=$slow_item slow 12000"

( site_install 'C:\Fin'
  echo "$E2E_RC" > "$E2E_WORK/rc" ) &
runner=$!
read_marker() {
  marker=$(wine reg query "$machine_key" /v MolvexInstallStatus 2>/dev/null | tr -d '\r' |
           awk '$1 == "MolvexInstallStatus" { print $3 }')
}
e2e_wait_until 300 '[ -f "$E2E_WORK/rc" ] || { read_marker; [ -n "$marker" ]; }'
wait "$runner"
e2e_expect_eq "$marker" Updating "install-status marker while the run installs"
e2e_expect_eq "$(cat "$E2E_WORK/rc")" 0 "exit code"
e2e_flush

log=$(e2e_read_log 'C:\Fin') || e2e_fail "no log in C:\\Fin\\usr"
printf '%s\n' "$log" | grep -q -F -- '/PW:demo' && e2e_fail "the log shows the password"

# file name, where it comes from in the sample, where it goes
while read -r name source target; do
  path="$target\\$name"
  unix=$(e2e_path "$path")
  cmp -s "$unix" "$PLANDRIX_SAMPLE_DIR/$source" || e2e_fail "$path differs from the published $source"
  list_date=$(site_list_field "$name" 4)
  # Of fncplat.dll's two records (the variants) the NT one is placed.
  [ "$name" = fncplat.dll ] && list_date=$(awk -F '\t' '$1 ~ /_NT$/ { print $5 }' "$SITE_LIST")
  expected=$(printf '%s' "$list_date" | awk '{ split($1, d, "-"); print d[3] "-" d[2] "-" d[1] " " $2 }')
  e2e_expect_eq "$(date -d "@$(stat -c %Y "$unix")" '+%Y-%m-%d %H:%M:%S')" "$expected" "last-write time of $path"
  printf '%s\n' "$log" | grep -qixF -- "$path ---> OK" || e2e_fail "the log lacks '$path ---> OK'"
done <<'EOF'
empty.flag        bin/empty.flag            C:\Fin\bin
fnccore.dll       bin/fnccore.dll           C:\Fin\bin
fnclegacy.dll     bin/fnclegacy.dll         C:\Fin\bin
fncplat.dll       variants/nt/fncplat.dll   C:\Fin\bin
readme.txt        readme.txt                C:\Fin
fncshared.dll     system/fncshared.dll      C:\windows\system32
fncsymbols.ttf    fonts/fncsymbols.ttf      C:\windows\Fonts
fncformats.txt    crystal/fncformats.txt    C:\Program Files\Common Files\Crystal
EOF
e2e_expect_same 'C:\Fin\docs\Release Notes.txt' "$PLANDRIX_SAMPLE_DIR/docs/Release Notes.txt"
leftovers=$(find "$WINEPREFIX/drive_c" -iname '_sy*.tmp' 2>/dev/null)
e2e_expect_eq "$leftovers" "" "expansion files left behind"
printf '%s\n' "$log" | grep -F -- '---> ' | grep -q -F '_9X' && e2e_fail "the 9X variant was installed"

e2e_expect_reg_absent "$machine_key" MolvexInstallStatus
e2e_expect_log_contains 'C:\Fin' 'The installation has been completed successfully.'
# The sample library, registered, leaves the path it was registered from.
e2e_expect_reg 'HKLM\Software\Molvex\SampleComponent' fnccore.dll 'C:\Fin\bin\fnccore.dll'
e2e_expect_reg "$user_key" WebSite1 "$SITE_URL"
e2e_expect_reg "$user_key" InstallDir 'C:\Fin'
e2e_expect_reg "$user_key" Release 30052
e2e_expect_reg_absent "$user_key" MolvexP

e2e_expect_reg "$environment" path "C:\\Fin\\bin;$path_before"
grep -qi '^"path"=str(2):"C:\\\\Fin\\\\bin;' "$WINEPREFIX/system.reg" || e2e_fail "the search path is not expandable"
for menu in 'C:\users\Public\Desktop' 'C:\ProgramData\Microsoft\Windows\Start Menu'; do
  e2e_expect_eq "$(e2e_link_fields "$menu\Fennic Duziderav.lnk")" "$(printf '%s\n' 'Local path: C:\Fin\Omnis7.exe' \
    'Working directory: C:\Fin' 'Icon location: C:\Fin\FENNIC.ICO')" "the shortcut in $menu"
done

e2e_end
