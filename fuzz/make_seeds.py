#!/usr/bin/env python3
"""Writes the small seed corpus of the fuzz targets (committed; rerun to renew)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def strings(texts):
    out = b""
    for t in texts:
        b = t.encode()
        out += struct.pack("<H", len(b) + 3) + b + b"\0"
    return out + b"\0\0"


def pad4(b):
    return b + b"\0" * (-len(b) % 4)


def seg2(file_strings, traces):
    n = len(traces)
    head = struct.pack("<HHHH", 0x3A55, 1, 4 * n, n) + b"\x01\0\0\x01\n"
    head = head.ljust(32, b"\0")
    body = pad4(strings(file_strings))
    first = 32 + 4 * n + len(body)
    blocks, pointers, at = b"", [], first
    for texts, code, count, data in traces:
        d = pad4(struct.pack("<HHII", 0x4422, 0, len(data), count) + bytes([code]) + b"\0" * 19 + strings(texts))
        d = d[:2] + struct.pack("<H", len(d)) + d[4:]
        pointers.append(at)
        blocks += d + data
        at += len(d) + len(data)
    return head + struct.pack("<%dI" % n, *pointers) + body + blocks


def write(folder, name, data):
    os.makedirs(os.path.join(HERE, "corpus", folder), exist_ok=True)
    with open(os.path.join(HERE, "corpus", folder, name), "wb") as f:
        f.write(data)


floats = struct.pack("<8f", 0, 1.5, -2, 3, -4, 5, 6, -7)
write("seg2", "float_two_traces.sg2", seg2(
    ["ACQUISITION_DATE 05/Jul/2015", "ACQUISITION_TIME 12:34:56.789", "NOTE N 35  40  12.5     E 139 45  30.0"],
    [(["SAMPLE_INTERVAL 0.001", "RECEIVER_LOCATION 1.5", "DELAY -0.010"], 4, 8, floats),
     (["SAMPLE_INTERVAL 0.001", "RECEIVER_COMPONENT 2", "TRACE_TYPE 3"], 4, 8, floats)]))
packed = struct.pack("<5H", 0x3210, 5, 0xFFEB, 7, 0x8000) * 2
write("seg2", "packed_code3.sg2", seg2(["ACQUISITION_DATE 7/MAR/2018", "ACQUISITION_TIME  3:12:45"],
                                       [(["DELAY -0.5", "SAMPLE_INTERVAL 0.000125"], 3, 8, packed)]))
ints = struct.pack("<4i", -70000, 5, 2000000, 0)
write("seg2", "int_codes_gps.sg2", seg2(["$GPZDA,123456.78,05,07,2015,00,00*6A"],
                                        [(["SAMPLE_INTERVAL 0.0005"], 2, 4, ints),
                                         (["FIXED_GAIN 24"], 1, 8, ints),
                                         (["LATITUDE 1.5 LONGITUDE -2.5"], 5, 2, ints)]))

header = bytearray(b" " * 512)
def put(at, text):
    header[at:at + len(text)] = text.encode()
put(0, "MT_NEO"); put(38, "   123"); put(46, "3"); put(49, "0"); put(52, "32"); put(63, "999")
put(68, "  2"); put(73, "  4"); put(78, "  5"); put(88, "2015 07 05  12 34 56"); put(317, "  8")
frames = b"".join(struct.pack("<4i", i, -i, 2 * i, 0) for i in range(60))
write("mtneo", "mtneo_three.mtn", bytes(header) + frames)
put(0, "Orbel "); put(46, "1"); put(63, " 10")
write("mtneo", "orbel_one.orb", bytes(header) + b"".join(struct.pack("<i", i) for i in range(6500)))
