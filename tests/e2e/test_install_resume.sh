#!/bin/sh
# Two 3 MB items whose connections drop halfway are placed as published all the same: one
# continued with a range request, the other sent whole again by a site that ignores ranges.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
e2e_begin
cp -a "$PLANDRIX_SAMPLE_DIR" "$E2E_WORK/product"
for big in resumed restarted; do head -c 3000000 /dev/urandom > "$E2E_WORK/product/$big.dat"; done
site_publish "$E2E_WORK/product" "$E2E_WORK/site"
site_start "$E2E_WORK/site"
e2e_install_program
resumed=$(site_list_field resumed.dat 0) restarted=$(site_list_field restarted.dat 0)
site_faults "LogItemAttachment.aspx?Item=$resumed cut 1500000 times=1" \
  "LogItemAttachment.aspx?Item=$restarted cut 1500000 times=1" "LogItemAttachment.aspx?Item=$restarted norange"
site_install 'C:\Fin'

requests() { grep -F "Item=$1&" "$E2E_WORK/site-access.log" | cut -f3,5 | tr '\t\n' ' ,'; }
e2e_expect_eq "$(requests "$resumed")" "200,206 Range: bytes=1500000-," "status and range of the resumed item's requests"
e2e_expect_eq "$(requests "$restarted")" "200,200 Range: bytes=1500000-," "status and range of the restarted item's requests"
for big in resumed restarted; do e2e_expect_same "C:\\Fin\\$big.dat" "$E2E_WORK/product/$big.dat"; done
e2e_expect_log_contains 'C:\Fin' "Resuming the transfer of $SITE_URL/docs/LogItemAttachment.aspx?Item=$resumed"
e2e_expect_log_contains 'C:\Fin' 'the transfer starts over'
e2e_end
