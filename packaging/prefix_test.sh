#!/usr/bin/env bash
# "cmake --install" into a prefix whose path holds a space and a percent
# sign, and into a relative one: the installed units start the program of
# that prefix and pass systemd's own check without a complaint.
#   prefix_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
command -v systemd-analyze >/dev/null || { echo "skipped: no systemd-analyze"; exit 0; }

mkdir -p "$work/runtime"
chmod 700 "$work/runtime"
# An absolute prefix, and one given relative to the folder the install is run in.
for given in "$work/zen trova 100%" "relative prefix"; do
  prefix=$given
  [ "${given:0:1}" = / ] || prefix="$work/$given"
  (cd "$work" && cmake --install "$build" --prefix "$given") >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "install"; }
  for unit in system/zentrova-station@.service user/zentrova-station.service; do
    u="$prefix/lib/systemd/$unit"
    [ -f "$u" ] || fail "$unit is not installed in $prefix"
    if [ "${unit%%/*}" = user ]; then
      XDG_RUNTIME_DIR="$work/runtime" systemd-analyze --user verify "$u" >"$work/verify.log" 2>&1 || true
    else
      systemd-analyze verify "$u" >"$work/verify.log" 2>&1 || true
    fi
    [ ! -s "$work/verify.log" ] || { cat "$work/verify.log"; grep ExecStart "$u"; fail "systemd-analyze verify of $unit"; }
  done
  echo "ok: units of the prefix $given"
done
