#!/bin/sh
# The sample installed through nginx with the generated configuration: nginx sends every
# item itself, the site the rest; a wrong password and a path out of the tree are
# refused. Then an installation straight from the site beside 1,000 half requests.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
SITE_OPTIONS="--request-time 600"  # the half requests stay open for the whole run
site_begin
site_port=${SITE_URL##*:}
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
sh "$E2E_LIB_DIR/../../tools/webserver/nginx-site-config.sh" --root "$SITE_DIR" --listen "127.0.0.1:$port" \
  --site "127.0.0.1:$site_port" --users "$E2E_WORK/site-users" --out "$E2E_WORK/web" --user "$(id -un)" || exit 1
nginx -p "$E2E_WORK/web" -c nginx.conf -e logs/error.log -g 'daemon off;' 2>/dev/null &
E2E_PIDS="$E2E_PIDS $!"
SITE_URL="http://127.0.0.1:$port"
e2e_wait_until 100 'curl -s -o /dev/null "$SITE_URL/docs/SysHelp.aspx"' ||
  { e2e_fail "nginx did not start (scripts/setup.sh installs it)"; exit 1; }
status() { curl -s -m 1 -o /dev/null -w '%{http_code}' -u "demo:$1" "$SITE_URL/docs/$2"; }
# Each file of the list but the other system's variant, its item checked against the list's digest.
files=$(grep -c -v '_9X	' "$SITE_LIST")
installed() {
  site_install "$1"
  e2e_expect_eq "$(e2e_read_log "$1" | grep -c -- '---> OK$')" "$files" "files placed in $1"
}

installed 'C:\Web'
# nginx's log: time, client, status, request, the site's address when the site answered.
e2e_expect_eq "$(awk -F '\t' '$4 ~ /LogItemAttachment/ { print $3, $5 }' "$E2E_WORK/web/logs/access.log" |
  uniq -c | tr -s ' ')" " $files 200 -" "item requests answered by nginx itself"
for query in 'Item=..%2F..%2F..%2Fregistrations.log&Release=30052' 'Item=registrations.log&Release=..'; do
  e2e_expect_eq "$(status demo "LogItemAttachment.aspx?$query&Action=2")" 400 "status of $query"
done
e2e_expect_eq "$(status wrong 'LogItemAttachUpDnLoad.aspx?Action=10')" 401 "status with a wrong password"

SITE_URL="http://127.0.0.1:$site_port"
python3 -c 'import resource, socket, sys, time
resource.setrlimit(resource.RLIMIT_NOFILE, (resource.getrlimit(resource.RLIMIT_NOFILE)[1],) * 2)
held = [socket.create_connection(("127.0.0.1", int(sys.argv[1]))) for _ in range(1000)]
for c in held: c.sendall(b"GET /docs/LogItemAttachUpDnLoad.aspx?Action=10 HTTP/1.1\r\n")
open(sys.argv[2], "w").close()
time.sleep(600)' "$site_port" "$E2E_WORK/held" &
holder=$!
E2E_PIDS="$E2E_PIDS $holder"
e2e_wait_until 300 '[ -f "$E2E_WORK/held" ]' || e2e_fail "the 1,000 connections were not opened"
E2E_RUN_TIMEOUT=60 installed 'C:\Direct'
e2e_expect_eq "$(status demo 'LogItemAttachUpDnLoad.aspx?Action=10')" 200 "a time stamp within 1 s"
e2e_expect_eq "$(ss -Htnp state established "( dport = :$site_port )" | grep -c "pid=$holder,")" 1000 \
  "half requests still open"

e2e_end
