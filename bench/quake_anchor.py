#!/usr/bin/env python3
"""A classic STA/LTA detector, written from its textbook formula, as an
independent yardstick for the station's detector on labelled earthquakes.

At each sample k of each component: STA = mean of x^2 over the 0.5 s from
k on, LTA = mean of x^2 over the 5 s before k; the record's ratio at k is
the largest STA / LTA of its components (a component with LTA = 0 has
none). A record triggers at the first k whose ratio exceeds the threshold.

Each record is scored twice, as the detector's scorecard does: its part
before 28 s is noise (a trigger there is a false alarm) and its part from
20 s on holds the event (detected when the first trigger lies within 0.5 s
of the analyst's P onset). The records are read here with a reader of
their own (SEG-2 with float samples), not with the station's.

usage: quake_anchor.py FOLDER [THRESHOLD...]
prints one line per threshold: threshold, records, detections, false alarms."""
import csv
import os
import struct
import sys

import numpy as np

NOISE_END_S = 28.0
EVENT_START_S = 20.0
TOLERANCE_S = 0.5
STA_S = 0.5
LTA_S = 5.0
THRESHOLDS = [2, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40, 50]


def read_seg2(path):
    """The traces of a SEG-2 file (float samples) and its sample interval in s."""
    with open(path, "rb") as f:
        data = f.read()
    if struct.unpack_from("<H", data, 0)[0] != 0x3A55:
        raise ValueError(path + ": not a SEG-2 file")
    traces = struct.unpack_from("<H", data, 6)[0]
    pointers = struct.unpack_from("<%dI" % traces, data, 32)
    out, dt = [], None
    for p in pointers:
        if struct.unpack_from("<H", data, p)[0] != 0x4422:
            raise ValueError(path + ": bad trace descriptor")
        block = struct.unpack_from("<H", data, p + 2)[0]
        samples = struct.unpack_from("<I", data, p + 8)[0]
        code = data[p + 12]
        if code != 4:
            raise ValueError(path + ": samples are not 32-bit floats")
        # Strings: a 2-byte length, then the text up to a zero byte.
        q = p + 32
        while q + 2 <= p + block:
            n = struct.unpack_from("<H", data, q)[0]
            if n == 0:
                break
            text = data[q + 2:q + n].split(b"\0")[0].decode("latin-1")
            if text.startswith("SAMPLE_INTERVAL"):
                dt = float(text.split()[1])
            q += n
        out.append(np.frombuffer(data, dtype="<f4", count=samples, offset=p + block).astype(np.float64))
    return out, dt


def ratio_curve(traces, dt):
    """The record's largest STA / LTA at every k that has both windows."""
    ns = min(len(x) for x in traces)
    lsta, llta = int(round(STA_S / dt)), int(round(LTA_S / dt))
    k = np.arange(llta, ns - lsta + 1)
    best = np.zeros(len(k))
    for x in traces:
        c = np.concatenate(([0.0], np.cumsum(x[:ns] * x[:ns])))
        sta = (c[k + lsta] - c[k]) / lsta
        lta = (c[k] - c[k - llta]) / llta
        with np.errstate(divide="ignore", invalid="ignore"):
            r = np.where(lta > 0, sta / lta, 0.0)
        best = np.maximum(best, r)
    return k, best


def first_trigger(k, ratio, threshold, dt):
    hits = np.nonzero(ratio > threshold)[0]
    return None if len(hits) == 0 else k[hits[0]] * dt


def score(folder, thresholds):
    with open(os.path.join(folder, "labels.csv")) as f:
        labels = list(csv.DictReader(f))
    parts = []
    for row in labels:
        traces, dt = read_seg2(os.path.join(folder, row["file"]))
        pick = int(row["p_sample"]) * dt
        noise = [x[:int(round(NOISE_END_S / dt))] for x in traces]
        first = int(round(EVENT_START_S / dt))
        event = [x[first:] for x in traces]
        parts.append((ratio_curve(noise, dt), ratio_curve(event, dt), dt, pick))
    lines = []
    for t in thresholds:
        detected = alarms = 0
        for (nk, nr), (ek, er), dt, pick in parts:
            alarms += first_trigger(nk, nr, t, dt) is not None
            begin = first_trigger(ek, er, t, dt)
            detected += begin is not None and abs(EVENT_START_S + begin - pick) <= TOLERANCE_S
        lines.append((t, len(parts), detected, alarms))
    return lines


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    thresholds = [float(a) for a in sys.argv[2:]] or THRESHOLDS
    for t, n, detected, alarms in score(sys.argv[1], thresholds):
        print("%g %d %d %d" % (t, n, detected, alarms))


if __name__ == "__main__":
    main()
