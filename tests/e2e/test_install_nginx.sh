#!/bin/sh
# The sample installed through nginx serving the published tree with the generated
# configuration: nginx sends every item itself, the site answers the rest; a wrong
# password and a query that climbs out of the tree are refused. Then a second
# installation straight from the site while 1,000 clients hold half requests open.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/sitelib.sh"
command -v nginx >/dev/null || { e2e_note "nginx is not installed (scripts/setup.sh)"; exit 1; }
SITE_OPTIONS="--request-time 600"  # the half requests stay open for the whole run
site_begin
site_url=$SITE_URL

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
web="$E2E_WORK/nginx"
sh "$E2E_LIB_DIR/../../tools/webserver/nginx-site-config.sh" --root "$SITE_DIR" --listen "127.0.0.1:$port" \
  --site "${site_url#http://}" --users "$E2E_WORK/site-users" --out "$web" --user "$(id -un)" || exit 1
nginx -p "$web" -c nginx.conf -e logs/error.log -g 'daemon off;' 2>/dev/null &
E2E_PIDS="$E2E_PIDS $!"
SITE_URL="http://127.0.0.1:$port"
e2e_wait_until 100 'curl -s -o /dev/null "$SITE_URL/docs/SysHelp.aspx"' || { e2e_fail "nginx did not start"; exit 1; }

# Every file of the list (but the other system's variant) is the item's content.
expect_placed() {
  grep -v '_9X	' "$SITE_LIST" | tr -d '\r' | while IFS='	' read -r code _ name _ _ folder _; do
    case $folder in
      Root) folder=$1 ;;
      SystemFolder) folder='C:\windows\system32' ;;
      WindowsFolder*) folder="C:\\windows${folder#WindowsFolder}" ;;
      CommonFilesFolder*) folder="C:\\Program Files\\Common Files${folder#CommonFilesFolder}" ;;
      *) folder="$1\\$folder" ;;
    esac
    cabextract -q -p "$SITE_DIR/FNC/30052/items/$code" | cmp -s - "$(e2e_path "$folder\\$name")" ||
      echo "$folder\\$name is not the content of item $code"
  done
}

site_install 'C:\Web'
e2e_expect_eq "$(expect_placed 'C:\Web')" "" "files installed through nginx"
# nginx's log: time, client, status, request, the site's address when it answered.
items=$(awk -F '\t' '$4 ~ /LogItemAttachment/ { print $3, $5 }' "$web/logs/access.log" | sort | uniq -c | tr -s ' ')
e2e_expect_eq "$items" " $(grep -c -v '_9X	' "$SITE_LIST") 200 -" "item requests answered by nginx itself"
site_expect_requests 'Action=1&' 1 "file lists asked of the site through nginx"
for query in 'Item=..%2F..%2F..%2Fregistrations.log&Release=30052' 'Item=registrations.log&Release=..' \
             'Item=../../../registrations.log&Release=30052'; do
  e2e_expect_eq "$(curl -s -o /dev/null -w '%{http_code}' -u demo:demo "$SITE_URL/docs/LogItemAttachment.aspx?$query&Action=2")" \
    400 "status of $query"
done
e2e_expect_eq "$(curl -s -o /dev/null -w '%{http_code}' -u demo:wrong "$SITE_URL/docs/LogItemAttachUpDnLoad.aspx?Action=10")" \
  401 "status with a wrong password"

SITE_URL=$site_url
python3 - "${site_url##*:}" "$E2E_WORK/slow" <<'EOF' &
import os, resource, socket, sys, time
port, flag = int(sys.argv[1]), sys.argv[2]
resource.setrlimit(resource.RLIMIT_NOFILE, (resource.getrlimit(resource.RLIMIT_NOFILE)[1],) * 2)
held = [socket.create_connection(("127.0.0.1", port)) for _ in range(1000)]
for connection in held:
    connection.sendall(b"GET /docs/LogItemAttachUpDnLoad.aspx?Action=10 HTTP/1.1\r\nHost: 127.0.0.1\r\n")
    connection.setblocking(False)
open(flag + ".held", "w").close()
while not os.path.exists(flag + ".done"):
    time.sleep(0.1)
def waiting(connection):
    try:
        return connection.recv(1) is None
    except BlockingIOError:
        return True
print(sum(waiting(c) for c in held), file=open(flag + ".open", "w"))
EOF
E2E_PIDS="$E2E_PIDS $!"
e2e_wait_until 300 '[ -f "$E2E_WORK/slow.held" ]' || e2e_fail "the 1,000 connections were not opened"
started=$(date +%s)
site_install 'C:\Direct'
[ $(($(date +%s) - started)) -le 60 ] || e2e_fail "the run beside the half requests took over 60 s"
e2e_expect_eq "$(expect_placed 'C:\Direct')" "" "files installed beside the half requests"
stamp=$(curl -s -m 1 -u demo:demo "$SITE_URL/docs/LogItemAttachUpDnLoad.aspx?Action=10")
printf '%s' "$stamp" | grep -qxE '[0-9]{2}-[0-9]{2}-[0-9]{4} [0-9:]{8}' || e2e_fail "no time stamp within 1 s: '$stamp'"
touch "$E2E_WORK/slow.done"
e2e_wait_until 100 '[ -s "$E2E_WORK/slow.open" ]'
e2e_expect_eq "$(cat "$E2E_WORK/slow.open")" 1000 "half requests still open at the end"

e2e_end
