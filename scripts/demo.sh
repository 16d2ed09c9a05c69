#!/usr/bin/env bash
# The main job as it stands: the record tool reads real SEG-2 records the
# way the station does and shows what it found.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTROVA_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target zentrova-seg2
tool=build/release/tools/seg2_tool/zentrova-seg2
data=../shared/data/seg2
for record in "$data/swprocess_wghs_6.dat" "$data/obspy_20180307_031245000.0.seg2"; do
  "$tool" info "$record" | head -n 12
  echo
done
"$tool" kind 1234.sg2 20150705.ORB notes.txt rec.23
