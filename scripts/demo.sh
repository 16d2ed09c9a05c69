#!/usr/bin/env bash
# The station's main job, as a demo: the acquisition simulator (TC.exe)
# writes records into a demo watched folder, every sixth with a seismic
# event, while zentrova-station, with a demo configuration ("Move to
# folder" on, event detection on, a 0.5 s monitor timer, the miniSEED
# archive on), files them into the dated hour tree and the SDS archive and
# detects the events. Everything lives under build/demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DZENTROVA_TESTS=OFF -DZENTROVA_BENCH=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target zentrova-station tc_simulator zentrova-seg2 >/dev/null

demo=$PWD/build/demo
rm -rf "$demo"
mkdir -p "$demo/config" "$demo/watched"
cat > "$demo/config/Zentrova.ini" <<INI
[General]
ZENTROVA_CURRENT_FOLDER_PATH=$demo/watched
ZENTROVA_CURRENT_DESTINATION_FOLDER_PATH=$demo/destination
sMyName=DEMO
bMoveToFolder=1
bEventDetection=1
iInterval=0
bMiniSeedArchive=1
sNetworkCode=XX
nArchiveDays=30
INI
cat > "$demo/config/product.ini" <<INI
[Kalvane Applications]
EVENT_DETECTION_MINIMUM_N_CHANNEL=3
INI

bin=build/release
"$bin/station/zentrova-station" --config-dir "$demo/config" --start --run-for 14 &
station=$!
sleep 1
# 36 records of 12 traces x 2000 samples at 1 ms (2 s each), across an hour boundary.
"$bin/tools/tc_simulator/TC.exe" --out "$demo/watched" --count 36 --interval-ms 250 --traces 12 --samples 2000 --events 6 \
  --start-time "$(date -d '-1 hour' '+%Y-%m-%d %H'):59:20" --first-number 1000
wait "$station"

echo
echo "Filed records, by hour folder ($demo/destination/WaveformFiles):"
find "$demo/destination/WaveformFiles" -name '*.dat' -printf '%h\n' | sort | uniq -c | sed "s#$demo/destination/##"
echo "Log file: $(ls "$demo"/destination/ZentrovaLog_*.txt)"
echo "Records with events: $(grep -c '^1 events were detected' "$demo"/destination/ZentrovaLog_*.txt)"
echo "Event file of the last run: $(ls "$demo"/destination/EventDetection_2*.txt)"
first=$(find "$demo/destination/WaveformFiles" -name '*.dat' | sort | head -n 1)
echo "First filed record: $first"
"$bin/tools/seg2_tool/zentrova-seg2" info "$first" | head -n 4
echo "miniSEED archive ($demo/destination/SDS), day files:"
find "$demo/destination/SDS" -type f | sort | sed "s#$demo/destination/##" | head -n 4
echo "  ... $(find "$demo/destination/SDS" -type f -name 'XX.*.D.*' | wc -l) day files in all"
if command -v xmllint >/dev/null && [ -f ../shared/schemas/fdsn-station.xsd ]; then
  xmllint --noout --schema ../shared/schemas/fdsn-station.xsd "$demo"/destination/SDS/XX.DEMO.xml 2>&1 | sed 's/^/  /'
fi
