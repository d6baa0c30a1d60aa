#!/bin/sh
# A network installation on drive N: (mode 1, with the program the release carries as
# "netupdate.exe" and "wsetup.exe"), a workstation from it (mode 3) and its update
# (mode 4); a CD image (mode 5) and, from it pressed read-only, a workstation (mode 6)
# and a network installation (mode 7) whose files are normal files again.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
e2e_begin
# The release carries the installer itself as its distribution file.
cp -a "$PLANDRIX_SAMPLE_DIR" "$E2E_WORK/product"
cp "$PLANDRIX_WINDOWS_BIN/Plandrix_T17_AE.exe" "$E2E_WORK/product/bin/Plandrix_T17_AE.exe"
site_publish "$E2E_WORK/product" "$E2E_WORK/site"
site_start "$E2E_WORK/site"
e2e_install_program
# The test's share folder is drive N:.
share="$E2E_WORK/share/Fennic"
mkdir -p "$share"
ln -s "$E2E_WORK/share" "$WINEPREFIX/dosdevices/n:"
site_install 'N:\Fennic' 1
e2e_expect_log_contains 'N:\Fennic' 'Install mode = Internet network installation'
cmp -s "$share/HalomirPlandrix.lst" "$SITE_LIST" || e2e_fail "the share's HalomirPlandrix.lst is not the release's list"
# Macros are plain folders on a share; both variants are there, each in its own folder.
for pair in bin/fncmain.exe:bin/fncmain.exe bin/nt/fncplat.dll:variants/nt/fncplat.dll \
            bin/9X/fncplat.dll:variants/9x/fncplat.dll SystemFolder/fncshared.dll:system/fncshared.dll \
            'WindowsFolder/Fonts/fncsymbols.ttf:fonts/fncsymbols.ttf' Root/readme.txt:readme.txt; do
  placed=${pair%%:*}
  cmp -s "$share/$placed" "$PLANDRIX_SAMPLE_DIR/${pair#*:}" || e2e_fail "N:\\Fennic\\$placed is not the published file"
done
for copy in netupdate.exe wsetup.exe; do
  cmp -s "$share/$copy" "$PLANDRIX_WINDOWS_BIN/Plandrix_T17_AE.exe" || e2e_fail "N:\\Fennic\\$copy is not the program"
done
e2e_expect_ini "$share/netupdate.ini" InstallMode 2 WebSite1 "$SITE_URL" Release 30052
e2e_expect_ini "$share/wsetup.ini" InstallMode 3 ProductLine FNC Release 30052 MolvexInstallStatus ""
[ -n "$(ini_get "$share/wsetup.ini" Date)" ] || e2e_fail "wsetup.ini has no Date after a complete run"
tr -d '\r' < "$share/netupdate.ini" | grep -qiE '^(password|pw|MolvexP)=' && e2e_fail "netupdate.ini holds a password"

# A workstation through the share's own "wsetup.exe"; nothing comes from the site.
site_clear_log
e2e_mkdir 'C:\Fin\usr'
e2e_run_line '"N:\Fennic\wsetup.exe" /S:2 /I:"C:\Fin"'
e2e_expect_eq "$E2E_RC" 0 "exit code of the workstation installation"
e2e_expect_log_contains 'C:\Fin' 'Install mode = LAN workstation installation'
e2e_expect_log_contains 'C:\Fin' 'Path to network installation = N:\Fennic'
e2e_expect_same 'C:\Fin\bin\fncmain.exe' "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe"
e2e_expect_same 'C:\Fin\bin\fncplat.dll' "$PLANDRIX_SAMPLE_DIR/variants/nt/fncplat.dll"
e2e_expect_same 'C:\windows\system32\fncshared.dll' "$PLANDRIX_SAMPLE_DIR/system/fncshared.dll"
site_expect_requests 'Action=2' 0 "items fetched from the site by mode 3"
e2e_expect_same 'C:\Fin\bin\wupdate.exe' "$PLANDRIX_WINDOWS_BIN/Plandrix_T17_AE.exe"
wupdate_ini=$(e2e_path 'C:\Fin\bin\wupdate.ini')
e2e_expect_ini "$wupdate_ini" Network 'N:\Fennic' InstallMode 4 Release 30052

# The share moves on; "wupdate.exe" follows it whatever /R: says, and repairs a file.
awk '{ sub(/^Release=.*/, "Release=30060\r") } { print }' "$share/wsetup.ini" > "$share/wsetup.ini.new" &&
  mv "$share/wsetup.ini.new" "$share/wsetup.ini"
printf 'damaged' > "$(e2e_path 'C:\Fin\bin\fncsettings.ini')"
rm -f "$(e2e_log_file 'C:\Fin')"
e2e_run_line '"C:\Fin\bin\wupdate.exe" /S:2 /R:30052'
e2e_expect_eq "$E2E_RC" 0 "exit code of the workstation update"
e2e_expect_log_contains 'C:\Fin' 'Install mode = LAN workstation update'
e2e_expect_log_contains 'C:\Fin' 'Release = 30060'
e2e_expect_same 'C:\Fin\bin\fncsettings.ini' "$PLANDRIX_SAMPLE_DIR/bin/fncsettings.ini"
e2e_expect_ini "$wupdate_ini" Release 30060

# The CD chain. A file is normal when the owner may write it (Wine's read-only bit).
is_normal() { [ "$(stat -c %A "$1" | cut -c3)" = w ]; }
site_install 'C:\CD' 5
# The image gets no log of its own: mode 5 writes into the documents folder.
[ ! -e "$(e2e_log_file 'C:\CD')" ] || e2e_fail "the image holds a log"
find "$WINEPREFIX/drive_c/users" -path '*/Documents/Plandrix.log' -exec cat {} + |
  grep -q -F 'Install mode = Creation of CD installation' || e2e_fail "no image creation log in the documents folder"
! find "$WINEPREFIX/drive_c/users" -path '*/Documents/Plandrix.log' -exec cat {} + | grep -q -F 'completed successfully' ||
  e2e_fail "the image creation showed a final message"
cd_dir=$(e2e_path 'C:\CD')
# The image's list is the release's (with the help records, which an image always carries).
tr -d '\r' < "$cd_dir/HalomirPlandrix.lst" > "$E2E_WORK/image.lst"
e2e_expect_eq "$(tr -d '\r' < "$SITE_LIST" | grep -vxF -f "$E2E_WORK/image.lst")" "" "records missing from the image's list"
e2e_expect_same 'C:\CD\bin\nt\fncplat.dll' "$PLANDRIX_SAMPLE_DIR/variants/nt/fncplat.dll"
e2e_expect_same 'C:\CD\SystemFolder\fncshared.dll' "$PLANDRIX_SAMPLE_DIR/system/fncshared.dll"
e2e_expect_same 'C:\CD\Setup_AE.exe' "$PLANDRIX_WINDOWS_BIN/Plandrix_T17_AE.exe"
e2e_expect_same 'C:\CD\NetSetup_AE.exe' "$PLANDRIX_WINDOWS_BIN/Plandrix_T17_AE.exe"
e2e_expect_ini "$cd_dir/Setup_AE.ini" InstallMode 6 Release 30052
e2e_expect_ini "$cd_dir/NetSetup_AE.ini" InstallMode 7
[ -n "$(ini_get "$cd_dir/NetSetup_AE.ini" Date)" ] || e2e_fail "NetSetup_AE.ini has no Date"
# No restart is ever asked for in mode 5.
e2e_flush
e2e_expect_reg_absent 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' Plandrix

# Pressed on a CD: every file and folder of the image read-only.
rm -rf "$cd_dir/usr"
chmod -R a-w "$cd_dir"

# The image's own "Setup_AE.exe": mode 6 from its INI file, the image is its folder.
site_clear_log
e2e_mkdir 'C:\FinCD\usr'
e2e_run_line '"C:\CD\Setup_AE.exe" /S:2 /I:"C:\FinCD"'
e2e_expect_eq "$E2E_RC" 0 "exit code of the workstation installation from the image"
e2e_expect_log_contains 'C:\FinCD' 'Install mode = CD workstation installation'
for pair in bin/fncmain.exe:bin/fncmain.exe bin/fncplat.dll:variants/nt/fncplat.dll readme.txt:readme.txt; do
  placed=$(e2e_path "C:\\FinCD\\${pair%%:*}")
  cmp -s "$placed" "$PLANDRIX_SAMPLE_DIR/${pair#*:}" || e2e_fail "C:\\FinCD\\${pair%%:*} is not the image's file"
  is_normal "$placed" || e2e_fail "C:\\FinCD\\${pair%%:*} stayed read-only ($(stat -c %A "$placed"))"
done
e2e_expect_same 'C:\windows\system32\fncshared.dll' "$PLANDRIX_SAMPLE_DIR/system/fncshared.dll"
site_expect_requests 'Action=2' 0 "items fetched from the site by mode 6"

mkdir -p "$E2E_WORK/share/FromCD/usr"
e2e_run_line '"C:\CD\NetSetup_AE.exe" /S:2 /I:"N:\FromCD"'
e2e_expect_eq "$E2E_RC" 0 "exit code of the network installation from the image"
e2e_expect_log_contains 'N:\FromCD' 'Install mode = CD network installation'
net="$E2E_WORK/share/FromCD"
cmp -s "$net/HalomirPlandrix.lst" "$cd_dir/HalomirPlandrix.lst" || e2e_fail "the share's list is not the image's"
is_normal "$net/HalomirPlandrix.lst" || e2e_fail "the share's list stayed read-only"
for placed in bin/fncmain.exe bin/nt/fncplat.dll bin/9X/fncplat.dll SystemFolder/fncshared.dll; do
  cmp -s "$net/$placed" "$cd_dir/$placed" || e2e_fail "N:\\FromCD\\$placed is not the image's file"
  is_normal "$net/$placed" || e2e_fail "N:\\FromCD\\$placed stayed read-only"
done
e2e_expect_ini "$net/wsetup.ini" InstallMode 3
cmp -s "$net/wsetup.exe" "$PLANDRIX_WINDOWS_BIN/Plandrix_T17_AE.exe" || e2e_fail "the share's wsetup.exe is not the program"

chmod -R u+w "$cd_dir"
e2e_end
