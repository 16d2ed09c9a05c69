#!/usr/bin/env bash
# The Debian package holds what "cmake --install" installs (into a DESTDIR,
# with the package's prefix /usr), and that is the station beside its
# e-mail sender, the record tool, the simulator and the service units.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "install"; }
(cd "$work/root" && find . ! -type d | sed 's#^\./#/#' | sort) >"$work/installed"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/zentrova_*.deb)
# Entries that are not folders, without a link's "-> target".
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's#^\./#/#' | sort >"$work/packaged"
diff -u "$work/installed" "$work/packaged" || fail "the package and the install differ"

for f in /usr/bin/zentrova-station /usr/bin/zentrova-seg2 /usr/bin/zentrova-tc-simulator \
    /usr/libexec/zentrova/zentrova-station /usr/libexec/zentrova/ZuveRadeRI.exe /usr/libexec/zentrova/TC.exe \
    /usr/lib/systemd/user/zentrova-station.service /usr/lib/systemd/system/zentrova-station@.service; do
  grep -qxF "$f" "$work/installed" || fail "$f is not installed"
done
# The desktop program beside the sender too, with its entry in the
# application menu and its icon, where Qt 6 was found.
if [ -e "$build/app/shell/zentrova" ]; then
  for f in /usr/bin/zentrova /usr/libexec/zentrova/zentrova /usr/share/applications/zentrova.desktop \
      /usr/share/icons/hicolor/scalable/apps/zentrova.svg; do
    grep -qxF "$f" "$work/installed" || fail "$f is not installed"
  done
  [ "$(readlink -f "$work/root/usr/bin/zentrova")" = "$work/root/usr/libexec/zentrova/zentrova" ] ||
    fail "bin/zentrova does not lead to libexec/zentrova"
  grep -qxF "Exec=zentrova" "$work/root/usr/share/applications/zentrova.desktop" || fail "the desktop entry starts no zentrova"
  grep -qxF "Icon=zentrova" "$work/root/usr/share/applications/zentrova.desktop" || fail "the desktop entry has no icon"
fi
# The station beside its sender, whichever name it is started by.
[ "$(readlink -f "$work/root/usr/bin/zentrova-station")" = "$work/root/usr/libexec/zentrova/zentrova-station" ] ||
  fail "bin/zentrova-station does not lead to libexec/zentrova"
[ "$(readlink -f "$work/root/usr/bin/zentrova-tc-simulator")" = "$work/root/usr/libexec/zentrova/TC.exe" ] ||
  fail "bin/zentrova-tc-simulator does not lead to TC.exe"
"$work/root/usr/bin/zentrova-station" --help >/dev/null || fail "the installed station does not run"

for unit in user/zentrova-station.service system/zentrova-station@.service; do
  u="$work/root/usr/lib/systemd/$unit"
  for line in Type=notify Restart=on-failure WatchdogSec=600 "ExecStart=/usr/bin/zentrova-station --start"; do
    grep -qxF "$line" "$u" || fail "$unit lacks $line"
  done
done
grep -qxF "User=%i" "$work/root/usr/lib/systemd/system/zentrova-station@.service" || fail "the system unit lacks User=%i"
# systemd's own check of both units, run on copies that start the program in the DESTDIR.
if command -v systemd-analyze >/dev/null; then
  mkdir -p "$work/verify" "$work/runtime"
  chmod 700 "$work/runtime"
  for unit in user/zentrova-station.service system/zentrova-station@.service; do
    sed "s#^ExecStart=/usr/#ExecStart=$work/root/usr/#" "$work/root/usr/lib/systemd/$unit" >"$work/verify/${unit#*/}"
  done
  systemd-analyze verify "$work/verify/zentrova-station@.service" >"$work/verify.log" 2>&1 ||
    { cat "$work/verify.log"; fail "systemd-analyze verify of the system unit"; }
  XDG_RUNTIME_DIR="$work/runtime" systemd-analyze --user verify "$work/verify/zentrova-station.service" \
    >"$work/verify.log" 2>&1 || { cat "$work/verify.log"; fail "systemd-analyze verify of the user unit"; }
fi
dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "the package names no dependencies"
echo "ok: $(wc -l <"$work/installed") files in $(basename "$deb")"
