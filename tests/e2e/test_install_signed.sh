#!/bin/sh
# Signed file lists, with the program built with the build's test key. The release
# unsigned and signed with another key are refused: the message and the reason are in
# the log, and nothing is installed or recorded. Signed with the test key, it installs.
# (Every other installation test runs the program built without a key on unsigned lists.)
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
test_key="$PLANDRIX_WINDOWS_BIN/../listkey-test/private.pem"
[ -f "$test_key" ] || { e2e_note "$test_key is missing: build the windows preset (it needs openssl)"; exit 1; }
site_begin
e2e_install_program Plandrix_keyed.exe
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$E2E_WORK/other.pem" 2>/dev/null

# refused FOLDER REASON
refused() {
  site_install "$1"
  e2e_expect_log_contains "$1" 'The file list from the update site is not signed by the publisher of this program.'
  e2e_expect_log_contains "$1" "The file list is refused: $2"
  e2e_expect_eq "$(find "$(e2e_path "$1")" -type f ! -path '*/usr/*')" "" "files placed from a refused list"
}
refused 'C:\Unsigned' 'the site has no signature'
site_publish "$PLANDRIX_SAMPLE_DIR" "$SITE_DIR" --sign-key "$E2E_WORK/other.pem"
refused 'C:\Other' "its signature does not match this program's key"
e2e_flush
e2e_expect_reg_absent 'HKCU\Software\Molvex\e-Halomir Plandrix' Release

site_publish "$PLANDRIX_SAMPLE_DIR" "$SITE_DIR" --sign-key "$test_key"
site_install 'C:\Signed'
e2e_expect_log_contains 'C:\Signed' 'The file list is signed by the publisher'
e2e_expect_same 'C:\Signed\bin\fncmain.exe' "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe"
e2e_end
