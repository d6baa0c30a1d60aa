#!/bin/sh
# The transfer probe's site requests under Wine against the update site (Basic
# authentication, with and without a domain): what arrives is what the site serves;
# refusals, a broken clock and a cut item end with the log lines a user reads; not
# silent, refused credentials bring up the system's password dialog.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"

# Without curl or xdotool the checks that use them fail.
e2e_begin
e2e_install_program transferprobe.exe 'C:\Probe'

# A small product in two releases, and a site that wants Basic credentials.
product="$E2E_WORK/product"
mkdir -p "$product/bin"
printf 'Fennic readme\r\n' > "$product/readme.txt"
head -c 70000 /dev/urandom > "$product/bin/ledger.dat"
for release in 30052 30060; do
  "$PLANDRIX_NATIVE_BIN/plandrix-publish" --from "$product" --site "$E2E_WORK/site" --line FNC \
    --release "$release" >/dev/null || e2e_fail "publishing release $release"
done
SITE_USERS=$(printf 'jan:geheim\nCORP\\piet:pw2')
site_start "$E2E_WORK/site"
STAMP_URL="$SITE_URL/docs/LogItemAttachUpDnLoad.aspx?Action=10"

finding() { sed -n "s/^$1=//p" "$E2E_WORK/run.out" | tr -d '\r' | head -n1; }

# One probe run as USER PASSWORD DOMAIN [SITE]; leaves the probe's output in run.out.
probe() {
  rm -rf "$(e2e_path 'C:\Out')"
  e2e_mkdir 'C:\Out\usr'
  e2e_run "${4:-$SITE_URL} $1 $2 $3 30060 C:\\Out"
}

# What arrived must be what the site serves to the same credentials.
expect_as_served() {
  credentials=$1
  e2e_expect_eq "$E2E_RC" 0 "probe exit code for $credentials"
  e2e_expect_eq "$(finding filelist)" ok "file list for $credentials"
  finding timestamp | grep -Eq '^[0-9]{2}-[0-9]{2}-[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2}$' ||
    e2e_fail "time stamp '$(finding timestamp)' for $credentials"
  e2e_expect_eq "$(finding credentials-prompted)" 0 "password dialog for $credentials"
  e2e_expect_eq "$(finding releaselist)" '\t30060\t30052\r' "quiet release list for $credentials"
  e2e_expect_eq "$(finding dialog-releases)" '30060,30052' "releases shown by the dialog for $credentials"
  e2e_expect_eq "$(finding dialog-status)" 'New release(s) are now available for download' \
    "dialog notice for $credentials"
  e2e_expect_eq "$(finding item)" ok "item transfer for $credentials"

  curl -s -u "$credentials" -o "$E2E_WORK/served-list" "$(finding filelist-url)"
  cmp -s "$E2E_WORK/served-list" "$(e2e_path 'C:\Out\filelist.txt')" ||
    e2e_fail "the file list that arrived differs from the site's for $credentials"
  curl -s -u "$credentials" -o "$E2E_WORK/served-item" "$(finding item-url)"
  [ -s "$E2E_WORK/served-item" ] || e2e_fail "curl got no item for $credentials"
  cmp -s "$E2E_WORK/served-item" "$(e2e_path 'C:\Out\item.bin')" ||
    e2e_fail "the item that arrived differs from the site's for $credentials"
}

probe jan geheim '""'
expect_as_served 'jan:geheim'
e2e_expect_eq "$(finding cancelled-download)" 0x80004004 "a download with a Cancel pending"

probe piet pw2 CORP
expect_as_served 'CORP\piet:pw2'

# The callback as COM sees it.
e2e_run callback
e2e_expect_eq "$E2E_RC" 0 "callback check exit code"
for line in 'qi-authenticate=0x0 refs=2' 'qi-other=0x80004002 null=1' \
            'prompted-window-desktop=1 names-untouched=1' 'refs-after-release=1'; do
  tr -d '\r' < "$E2E_WORK/run.out" | grep -qxF -- "$line" || e2e_fail "the callback check lacks '$line'"
done

# The same user without the domain the site insists on is refused.
probe piet pw2 '""'
e2e_expect_eq "$E2E_RC" 1 "probe exit code without the domain"
e2e_expect_log_contains 'C:\Out' "The site refused the credentials for $STAMP_URL"

# A site that cannot be reached: WinINet's own number and text.
probe jan geheim '""' http://127.0.0.1:1
e2e_expect_eq "$E2E_RC" 1 "probe exit code without a site"
e2e_expect_log_contains 'C:\Out' 'InternetOpenUrl error code: 12029'
e2e_read_log 'C:\Out' | grep -q '^Message: ..*' || e2e_fail "the report lacks the system's text of 12029"

# The password dialog, answered through the display: wait for it, then act on it.
# ANSWER is a shell command run with the dialog's window in $dialog.
probe_with_dialog() {
  answer=$1
  rm -rf "$(e2e_path 'C:\Out')"
  e2e_mkdir 'C:\Out\usr'
  ( PROBE_INTERACTIVE=1 e2e_run "$SITE_URL jan wrong \"\" 30060 C:\\Out"; echo "$E2E_RC" > "$E2E_WORK/dialog-rc" ) &
  runner=$!
  e2e_wait_until 200 'dialog=$(xdotool search --onlyvisible --name . 2>/dev/null | head -n1) && [ -n "$dialog" ]'
  if [ -z "$dialog" ]; then
    e2e_fail "no password dialog came up"
  else
    sleep 0.5
    xdotool windowfocus --sync "$dialog" 2>/dev/null
    eval "$answer" 2>/dev/null
  fi
  wait "$runner"
  E2E_RC=$(cat "$E2E_WORK/dialog-rc")
}

probe_with_dialog 'xdotool key Escape'
e2e_expect_eq "$E2E_RC" 1 "probe exit code after the dialog's Cancel"
e2e_expect_eq "$(finding credentials-prompted)" 0 "credentials prompted after Cancel"
[ -f "$(e2e_log_file 'C:\Out')" ] && e2e_fail "a cancelled password dialog left a message in the log"

probe_with_dialog 'xdotool type --delay 30 jan; xdotool key Tab; xdotool type --delay 30 geheim; xdotool key Return'
e2e_expect_eq "$E2E_RC" 0 "probe exit code after typing the right credentials"
e2e_expect_eq "$(finding credentials-prompted)" 1 "credentials prompted after the dialog's OK"
e2e_expect_eq "$(finding filelist)" ok "file list after the dialog's OK"
e2e_expect_eq "$(finding item)" ok "item after the dialog's OK"

# A clock that answers an HTML page: eleven attempts, then the request gives up.
site_faults 'LogItemAttachUpDnLoad.aspx?Action=10 html'
site_clear_log
probe jan geheim '""'
e2e_expect_eq "$E2E_RC" 1 "probe exit code with a broken clock"
e2e_expect_log_contains 'C:\Out' "Failed to download: '$STAMP_URL' (0x0)"
stamps=$(site_requests 'Action=10' | grep -c 'Action=10$')
# The session's opening (with its credentials round) and the eleven attempts.
[ "$stamps" -ge 12 ] || e2e_fail "the site saw $stamps time stamp requests, expected at least 12"
site_requests 'Action=1&' >/dev/null && e2e_fail "the file list was asked for without a time stamp"

# A connection dropped in the middle of an item reads as a clean end under WinINet; the
# announced length tells the truth. Requests for the rest that bring nothing end it.
site_faults 'LogItemAttachment.aspx?Item=* cut 3000'
probe jan geheim '""'
e2e_expect_eq "$E2E_RC" 4 "probe exit code with a cut item"
e2e_expect_eq "$(finding item)" failed "a cut item"
e2e_expect_log_contains 'C:\Out' "ended after 3000 of"
e2e_expect_log_contains 'C:\Out' "given up after 5 attempts without new bytes"

e2e_end
