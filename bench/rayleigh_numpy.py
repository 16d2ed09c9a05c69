#!/usr/bin/env python3
"""The Rayleigh forward model in numpy, for the forward-model benchmark:
the same fast delta-matrix recursion (real arithmetic, each layer scaled by
its evanescent growth and the vector by its largest term), the same search
from 0.8 times the lowest S velocity upwards (steps limited by a ratio and
by the growth of the vertical phase; the look into dips of |f| between
steps, which this benchmark's ground never needs, is left out), and the same
regula falsi with the Illinois halving, vectorised over the frequencies.

usage: rayleigh_numpy.py ROUNDS STEP PHASE_STEP F1,F2,... H,VP,VS,RHO;H,VP,VS,RHO;...
(the last layer is the half-space). Prints the median time of one curve in
ms, then the fundamental mode's phase velocity at each frequency."""
import sys
import time

import numpy as np


def terms(ratio2, kh):
    """cosh, r sinh, sinh / r and the growth exponent of one wave type."""
    hyper = ratio2 < 1.0
    r = np.sqrt(np.abs(1.0 - ratio2))
    x = kh * r
    e = np.exp(-2.0 * np.where(hyper, x, 0.0))
    half_sinh = -0.5 * np.expm1(-2.0 * np.where(hyper, x, 0.0))
    safe_r = np.where(r > 0, r, 1.0)
    tiny = x <= 1e-12
    cosh = np.where(hyper, 0.5 * (1.0 + e), np.cos(x))
    r_sinh = np.where(hyper, r * half_sinh, -r * np.sin(x))
    sinh_r = np.where(tiny, kh, np.where(hyper, half_sinh, np.sin(x)) / safe_r)
    growth = np.where(hyper, x, 0.0)
    return cosh, r_sinh, sinh_r, growth


def secular(layers, omega, c):
    c2 = c * c
    k = omega / c
    t = 2.0 - c2 / layers[0][2] ** 2
    x1, x2, x3, x4, x5 = 2.0 * t, -t * t, np.zeros_like(c), np.zeros_like(c), np.full_like(c, -4.0)
    for (h, vp, vs, rho), (_, _, vs_b, rho_b) in zip(layers[:-1], layers[1:]):
        eps = rho_b / rho
        eta = 2.0 * (vs * vs / c2 - eps * vs_b * vs_b / c2)
        a, b = eps + eta, 1.0 - eta
        ak, bk = a - 1.0, b - 1.0
        pc, prs, psr, pg = terms(c2 / vp ** 2, k * h)
        sc, srs, ssr, sg = terms(c2 / vs ** 2, k * h)
        p1, p2 = sc * x2 + srs * x3, sc * x4 + srs * x5
        p3, p4 = ssr * x2 + sc * x3, ssr * x4 + sc * x5
        q1, q2 = pc * p1 - prs * p2, -psr * p3 + pc * p4
        q3, q4 = pc * p3 - prs * p4, -psr * p1 + pc * p2
        x1s = x1 * np.exp(-(pg + sg))
        y1, y2 = ak * x1s + a * q1, a * x1s + ak * q2
        z1, z2 = b * x1s + bk * q1, bk * x1s + b * q2
        x1, x2, x3, x4, x5 = bk * y1 + b * y2, a * y1 + ak * y2, eps * q3, eps * q4, bk * z1 + b * z2
        big = np.maximum.reduce([np.abs(x1), np.abs(x2), np.abs(x3), np.abs(x4), np.abs(x5)])
        scale = np.where((big > 0) & np.isfinite(big), 1.0 / np.where(big > 0, big, 1.0), 1.0)
        x1, x2, x3, x4, x5 = x1 * scale, x2 * scale, x3 * scale, x4 * scale, x5 * scale
    vp_n, vs_n = layers[-1][1], layers[-1][2]
    r = np.sqrt(np.maximum(0.0, 1.0 - c2 / vp_n ** 2))
    s = np.sqrt(np.maximum(0.0, 1.0 - c2 / vs_n ** 2))
    return x2 + s * x3 - r * (x4 + s * x5)


def vertical_phase(layers, omega, c):
    slow2 = 1.0 / (c * c)
    phase = np.zeros_like(c)
    for h, vp, vs, _ in layers[:-1]:
        phase += h * (np.sqrt(np.maximum(0.0, 1.0 / vs ** 2 - slow2)) + np.sqrt(np.maximum(0.0, 1.0 / vp ** 2 - slow2)))
    return omega * phase


def next_velocity(layers, omega, c, end, step, phase_step):
    phase = vertical_phase(layers, omega, c)
    ratio = np.full_like(c, step)
    nxt = np.minimum(c * (1.0 + ratio), end)
    while True:
        halve = (ratio > 1e-4) & (vertical_phase(layers, omega, nxt) - phase > phase_step)
        if not halve.any():
            return nxt
        ratio = np.where(halve, 0.5 * ratio, ratio)
        nxt = np.minimum(c * (1.0 + ratio), end)


def fundamental(layers, freqs, step, phase_step):
    omega = 2.0 * np.pi * freqs
    end = layers[-1][2] * (1.0 - 1e-9)
    c = np.full_like(freqs, 0.8 * min(l[2] for l in layers))
    f = secular(layers, omega, c)
    lo, flo, hi, fhi = c.copy(), f.copy(), c.copy(), f.copy()
    open_ = np.ones(len(freqs), dtype=bool)
    while open_.any():
        nxt = next_velocity(layers, omega, c, end, step, phase_step)
        fn = secular(layers, omega, nxt)
        change = open_ & ((fn == 0) | (np.sign(f) * np.sign(fn) < 0))
        lo[change], flo[change], hi[change], fhi[change] = c[change], f[change], nxt[change], fn[change]
        open_ &= ~change
        open_ &= c < end
        c, f = np.where(open_, nxt, c), np.where(open_, fn, f)
        open_ &= c < end
    found = flo * fhi <= 0
    side = np.zeros(len(freqs))
    for _ in range(100):
        todo = found & (hi - lo > 1e-9 * hi) & (fhi != flo)
        if not todo.any():
            break
        m = (lo * fhi - hi * flo) / np.where(fhi != flo, fhi - flo, 1.0)
        m = np.where((m > lo) & (m < hi), m, 0.5 * (lo + hi))
        fm = secular(layers, omega, m)
        left = todo & ((flo < 0) != (fm < 0))
        right = todo & ~left
        flo = np.where(left & (side == -1), flo * 0.5, flo)
        fhi = np.where(right & (side == 1), fhi * 0.5, fhi)
        hi, fhi = np.where(left, m, hi), np.where(left, fm, fhi)
        lo, flo = np.where(right, m, lo), np.where(right, fm, flo)
        side = np.where(left, -1, np.where(right, 1, side))
    return np.where(found, 0.5 * (lo + hi), 0.0)


def main():
    rounds, step, phase_step = int(sys.argv[1]), float(sys.argv[2]), float(sys.argv[3])
    freqs = np.array([float(v) for v in sys.argv[4].split(",")])
    layers = [tuple(float(v) for v in l.split(",")) for l in sys.argv[5].split(";")]
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        v = fundamental(layers, freqs, step, phase_step)
        times.append((time.perf_counter() - start) * 1000.0)
    print(sorted(times)[len(times) // 2])
    print(" ".join("%.6f" % x for x in v))


if __name__ == "__main__":
    main()
