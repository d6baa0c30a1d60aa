#!/bin/sh
# A 6 MB item whose connection drops halfway is continued with a range request and placed
# as published; from a site that ignores the range it arrives whole from its first byte.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
e2e_begin
cp -a "$PLANDRIX_SAMPLE_DIR" "$E2E_WORK/product"
head -c 6000000 /dev/urandom > "$E2E_WORK/product/archive.dat"
site_publish "$E2E_WORK/product" "$E2E_WORK/site"
site_start "$E2E_WORK/site"
e2e_install_program
archive=$(site_list_field archive.dat 0)
half=$(($(site_list_field archive.dat 11) / 2))

# Installs into $1 with the archive's first reply cut halfway and the fault rule $3 beside
# it: the request for the rest gets status $2, and the log says $4.
install_cut() {
  site_faults "LogItemAttachment.aspx?Item=$archive cut $half times=1" "$3"
  site_clear_log
  site_install "$1"
  e2e_expect_same "$1\\archive.dat" "$E2E_WORK/product/archive.dat"
  e2e_expect_log_contains "$1" "$4"
  e2e_expect_eq "$(grep -F "Item=$archive&" "$E2E_WORK/site-access.log" | cut -f3,5 | tr '\t\n' ' ,')" \
    "200,$2 Range: bytes=$half-," "status and range of the archive's requests into $1"
}
install_cut 'C:\Resumed' 206 '# as published' "Resuming the transfer of $SITE_URL/docs/LogItemAttachment.aspx?Item=$archive"
install_cut 'C:\Again' 200 "LogItemAttachment.aspx?Item=$archive norange" 'the transfer starts over'

e2e_end
