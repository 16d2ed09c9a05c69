#!/usr/bin/env python3
"""The RMS-ratio detector in numpy, vectorised with cumulative sums, for the
detector benchmark. Same windows, same trigger rule, OR over all channels,
events merged within the longer window.

usage: detector_numpy.py DATA TRACES SAMPLES ROUNDS
prints the median time of one detection in ms and the number of events."""
import sys
import time

import numpy as np


def detect(data, dt_us=1000.0, w1_ms=100.0, w2_ms=500.0, ratio=10.0):
    ns = data.shape[1]
    l1 = int(w1_ms * 1000.0 / dt_us)
    l2 = int(w2_ms * 1000.0 / dt_us)
    if l1 <= 0 or l2 <= 0 or l1 >= ns - l2:
        return []
    x = data.astype(np.float64)
    cs = np.zeros((data.shape[0], ns + 1))
    np.cumsum(x * x, axis=1, out=cs[:, 1:])
    k = np.arange(l1, ns - l2)
    s1 = cs[:, k] - cs[:, k - l1]
    s2 = cs[:, k + l2] - cs[:, k]
    with np.errstate(divide="ignore", invalid="ignore"):
        rms1 = np.sqrt(s1 / l1)
        trig = (rms1 > 0) & (np.sqrt(s2 / l2) / rms1 > ratio)
    m = trig.sum(axis=0)
    merge = max(w1_ms, w2_ms) / 1000.0
    events, last = [], None
    for i in np.nonzero(m > 0)[0]:
        t = dt_us * k[i] / 1e6
        if last is None or t - last > merge:
            events.append(t)
            last = t
    return events


def main():
    path, traces, samples, rounds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
    data = np.fromfile(path, dtype=np.float32).reshape(traces, samples)
    times, events = [], []
    for _ in range(rounds):
        start = time.perf_counter()
        events = detect(data)
        times.append((time.perf_counter() - start) * 1000.0)
    times.sort()
    print("%.3f %d" % (times[len(times) // 2], len(events)))


if __name__ == "__main__":
    main()
