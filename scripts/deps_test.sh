#!/usr/bin/env bash
# deps.sh against a stand-in package manager: silent when nothing is
# missing; when something is, two short lines and none of the package
# manager's chatter; on a failure, the reason.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
cat >"$stubs/dpkg-query" <<'STUB'
#!/usr/bin/env bash
# Everything is installed except the packages named in $MISSING.
for p in $MISSING; do [ "${!#}" = "$p" ] && exit 1; done
printf 'install ok installed'
STUB
cat >"$stubs/apt-get" <<'STUB'
#!/usr/bin/env bash
for i in $(seq 40); do echo "Selecting previously unselected package $i"; done
[ -n "${APT_FAILS:-}" ] && { echo "E: Unable to locate package $APT_FAILS"; exit 100; }
exit 0
STUB
printf '#!/bin/sh\necho 0\n' >"$stubs/id"
chmod +x "$stubs"/*

run() { PATH="$stubs:$PATH" bash "$here/deps.sh" 2>&1; }
fail() { echo "FAIL: $*"; exit 1; }

out=$(MISSING="" run) || fail "exit $? with nothing missing"
[ -z "$out" ] || fail "output with nothing missing: $out"

out=$(MISSING="xvfb tzdata" run) || fail "exit $? when installing"
[ "$out" = $'installing: tzdata xvfb\ninstalled: tzdata xvfb' ] || fail "installing said: $out"

out=$(MISSING="xvfb" APT_FAILS=xvfb run) && fail "a failed install passed"
grep -q '^E: Unable to locate package xvfb$' <<<"$out" || fail "no reason given: $out"
[ "$(wc -l <<<"$out")" -le 17 ] || fail "too long: $out"
echo ok
