#!/usr/bin/env python3
"""The phase-shift dispersion image in numpy, vectorised over traces, rows
and velocity columns, for the dispersion benchmark: the same transform
length (at least twice the samples), frequency rows, velocity columns and
unit-amplitude stack.

usage: dispersion_numpy.py DATA TRACES SAMPLES DT_MS DIRECTION ROUNDS
DATA: TRACES distances along the line (m, float32) then TRACES x SAMPLES
float32 samples (the window the image takes).
prints the median time of one image in ms, then the picked column of each row."""
import sys
import time

import numpy as np

F_MAX, V_MIN, V_END, V_STEP = 50.0, 0.0, 0.5, 0.0025


def image(x, pos, dt_ms, direction):
    m = x.shape[1]
    n = 8
    while n < 2 * m:
        n *= 2
    df = 1000.0 / (n * dt_ms)
    peak = np.abs(x).max(axis=1)
    keep = peak > 1e-16
    x, pos = x[keep] / peak[keep, None], pos[keep]
    spec = np.fft.fft(x.astype(np.float64), n=n, axis=1) / n
    cols = int((V_END - V_MIN) / V_STEP)
    bins = min(int(F_MAX / df) + 1, n // 2 + 1)
    w = 1
    while bins // w > 256 and w < 64:
        w *= 2
    rows = min(bins // w, 256)
    s = spec[:, np.arange(rows) * w]
    mag = np.abs(s)
    s = np.where(mag > 0, s / np.where(mag > 0, mag, 1), 0)
    v = (np.arange(cols, dtype=np.float32) * np.float32(V_STEP) + np.float32(V_MIN)) * np.float32(1000)
    v = np.where(v == 0, np.float32(0.1), v).astype(np.float64)
    d = np.abs(pos - pos[0]) if direction == 0 else np.abs(pos[-1] - pos)
    omega = 2 * np.pi * df * w * np.arange(rows)
    phase = (d[:, None, None] / v[None, None, :]) * omega[None, :, None]
    total = np.einsum("ur,urv->rv", s, np.exp(1j * phase))
    return np.abs(total) / len(pos)


def main():
    path, traces, samples = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    dt_ms, direction, rounds = float(sys.argv[4]), int(sys.argv[5]), int(sys.argv[6])
    raw = np.fromfile(path, dtype=np.float32)
    pos, x = raw[:traces].astype(np.float64), raw[traces:].reshape(traces, samples)
    times, img = [], None
    for _ in range(rounds):
        start = time.perf_counter()
        img = image(x, pos, dt_ms, direction)
        times.append((time.perf_counter() - start) * 1000.0)
    times.sort()
    print("%.3f" % times[len(times) // 2])
    print(" ".join(str(int(k)) for k in img.argmax(axis=1)))


if __name__ == "__main__":
    main()
