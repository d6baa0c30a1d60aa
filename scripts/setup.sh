#!/bin/sh
# Installs every Debian package the project needs. Idempotent; quiet when all is there.
set -e
PACKAGES="cmake ninja-build ccache g++ clang libclang-rt-14-dev python3
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libssl-dev openssl libcpp-httplib-dev curl wrk
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine64 xvfb xauth xdotool x11-apps imagemagick wixl
  cabextract gcab bc procps iproute2 liblnk-utils nginx-light openssl"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "setup: installing$missing"
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# nginx's package starts a system server on port 80 once installed; where that fails
# (a container without an init system) the installation fails with it. The tests start
# servers of their own, so the system one is kept from starting while packages go in.
if [ ! -e /usr/sbin/policy-rc.d ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee /usr/sbin/policy-rc.d >/dev/null
  $SUDO chmod 755 /usr/sbin/policy-rc.d
  trap '$SUDO rm -f /usr/sbin/policy-rc.d' EXIT
fi
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
