#!/bin/sh
# Signed file lists. The program built with the build's test key refuses the release
# unsigned and signed with another key: its message and the reason are in the log, and
# nothing is installed or recorded. The program built without a key installs the
# unsigned release as before, and the keyed one the release signed with its key.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
test_key="$PLANDRIX_WINDOWS_BIN/../listkey-test/private.pem"
[ -f "$test_key" ] || { e2e_note "$test_key is missing: build the windows preset (it needs openssl)"; exit 1; }
e2e_begin
site_start
openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$E2E_WORK/other.pem" 2>/dev/null ||
  { e2e_fail "openssl could not make a key"; exit 1; }

# refused FOLDER REASON: a run of the keyed program that installs nothing.
refused() {
  site_install "$1"
  e2e_expect_log_contains "$1" 'The file list from the update site is not signed by the publisher of this program.'
  e2e_expect_log_contains "$1" "The file list is refused: $2"
  placed=$(find "$(e2e_path "$1")" -type f ! -path '*/usr/*' | wc -l | tr -d ' ')
  e2e_expect_eq "$placed" 0 "files placed in $1 from a refused list"
}

e2e_install_program Plandrix_keyed.exe
refused 'C:\Unsigned' 'the site has no signature'
site_publish "$PLANDRIX_SAMPLE_DIR" "$SITE_DIR" --sign-key "$E2E_WORK/other.pem"
refused 'C:\Other' "its signature does not match this program's key"
e2e_flush
e2e_expect_reg_absent 'HKCU\Software\Molvex\e-Halomir Plandrix' Release

site_publish "$PLANDRIX_SAMPLE_DIR" "$SITE_DIR"
site_clear_log
e2e_install_program
site_install 'C:\Plain'
e2e_expect_same 'C:\Plain\bin\fncmain.exe' "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe"
site_expect_requests 'Action=11' 0 "signature requests of the program without a key"

site_publish "$PLANDRIX_SAMPLE_DIR" "$SITE_DIR" --sign-key "$test_key"
e2e_install_program Plandrix_keyed.exe
site_install 'C:\Signed'
e2e_expect_log_contains 'C:\Signed' 'The file list is signed by the publisher'
e2e_expect_same 'C:\Signed\bin\fncmain.exe' "$PLANDRIX_SAMPLE_DIR/bin/fncmain.exe"
e2e_end
