#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those
# that are missing. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev   # compilers, libFuzzer and sanitizer runtimes
  libgtest-dev libgmock-dev libbenchmark-dev        # tests and benchmarks
  tzdata                                            # time-zone tests
  python3-numpy                                     # the numpy twin of the detector benchmark
  libcurl4-openssl-dev                              # HTTP and SMTP
  python3-aiosmtpd                                  # the local SMTP server of the e-mail tests
  libx11-dev xvfb                                   # closing the controller window; a display for its tests
  dpkg-dev file                                     # the Debian package (cpack -G DEB: dpkg-shlibdeps)
  dosfstools fusefat                                # a FAT destination through FUSE for the filing tests
  libpugixml-dev                                    # the standard geophysical XML document
  libxml2-utils                                     # xmllint: the XML document checked by a second parser, StationXML by its schema
  libmseed-dev mseed2sac                            # the miniSEED archive, and a reader of it nobody here wrote
  libcairo2-dev fonts-liberation pkg-config         # the plots and the PNG event image (found by pkg-config); a metric-compatible face
  qt6-base-dev                                      # the desktop program
  imagemagick                                       # screenshots of the desktop program under Xvfb (import)
  prometheus-node-exporter                          # the textfile export read back by a real exporter
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
# Quiet unless something is installed; then one line, and the package
# manager's own output only when it fails (its last lines).
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  log=$(mktemp)
  if ! { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
      --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    echo "apt-get failed:" >&2
    tail -n 15 "$log" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
  echo "installed: ${missing[*]}"
fi
