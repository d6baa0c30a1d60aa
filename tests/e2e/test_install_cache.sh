#!/bin/sh
# Update mode 1 ("After download"): a first pass transfers every item into the download
# cache, a second installs from it, and the cache goes. A cache copy with the list's date
# is not transferred again; one with another date is; the second run's shortcuts replace the first's.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
site_begin

user_key='HKCU\Software\Molvex\e-Halomir Plandrix'
e2e_reg_add "$user_key" UpdateMode REG_DWORD 1
cache="$(find "$WINEPREFIX/drive_c/users" -mindepth 2 -maxdepth 2 -iname temp -type d | head -n1)/Molvex Update Setup Files"

# Items that the run must transfer: every record of the list but the other family's variant.
items=$(awk -F '\t' '$1 !~ /_9X$/ { print $1 }' "$SITE_LIST")

site_install 'C:\Fin'
e2e_expect_log_contains 'C:\Fin' 'Update software = After download'
for item in $items; do
  site_expect_requests "Item=$item&" 1 "transfers of $item in the first run"
done
# The transfer pass put each item into the cache, the install pass took it from there.
e2e_read_log 'C:\Fin' | grep -qiF -- 'Molvex Update Setup Files\bin\fncmain.exe ---> OK' ||
  e2e_fail "the transfer pass did not put fncmain.exe into the cache"
e2e_expect_log_contains 'C:\Fin' 'C:\Fin\bin\fncmain.exe ---> OK'
e2e_expect_same 'C:\Fin\bin\fncmain.exe' "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe"
[ ! -e "$cache" ] || e2e_fail "the download cache is still there after the run: $(find "$cache" | head -5)"

# A cache that holds two items as cabinets: one with the list's date, one a day older.
accounts=$(site_list_field fncaccounts.txt 0)
core=$(site_list_field fnccore.dll 0)
list_time() { site_list_field "$1" 4 | awk '{ split($1, d, "-"); print d[3] "-" d[2] "-" d[1] " " $2 }'; }
mkdir -p "$cache/bin"
cp "$SITE_DIR/FNC/30052/items/$accounts" "$cache/bin/fncaccounts.txt"
touch -d "$(list_time fncaccounts.txt)" "$cache/bin/fncaccounts.txt"
cp "$SITE_DIR/FNC/30052/items/$core" "$cache/bin/fnccore.dll"
touch -d "$(list_time fnccore.dll) 1 day ago" "$cache/bin/fnccore.dll"
site_clear_log
site_install 'C:\Fin2'
site_expect_requests "Item=$accounts&" 0 "transfers of the current cache copy"
site_expect_requests "Item=$core&" 1 "transfers of the outdated cache copy"
site_expect_requests "Item=$(site_list_field fncmain.exe 0)&" 1 "transfers of an item not in the cache"
e2e_expect_same 'C:\Fin2\bin\fncaccounts.txt' "$PLANDRIX_SAMPLE_DIR/bin/fncaccounts.txt"
e2e_expect_same 'C:\Fin2\bin\fnccore.dll' "$PLANDRIX_SAMPLE_DIR/bin/fnccore.dll"
[ ! -e "$cache" ] || e2e_fail "the download cache is still there after the second run"
for menu in 'C:\users\Public\Desktop' 'C:\ProgramData\Microsoft\Windows\Start Menu'; do
  e2e_expect_eq "$(ls "$(e2e_path "$menu")" | grep -c -i '\.lnk$')" 1 "shortcuts in $menu"
  e2e_link_fields "$menu\Fennic Duziderav.lnk" | grep -q -x -F 'Local path: C:\Fin2\Omnis7.exe' ||
    e2e_fail "the shortcut in $menu does not lead to the second installation"
done

e2e_end
