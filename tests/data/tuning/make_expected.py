#!/usr/bin/env python3
"""just12.tun and just12.syx worked out by hand: the twelve-note just scale of just12.scl,
every key in order, key 60 = 1/1 at middle C (8.1757989156437073336 Hz * 2**5)."""
import math
from fractions import Fraction as F

ratios = [F(1), F(16, 15), F(9, 8), F(6, 5), F(5, 4), F(4, 3), F(7, 5), F(3, 2), F(8, 5),
          F(5, 3), F(16, 9), F(15, 8)]
cents = [6000 + 1200 * ((k - 60) // 12) + 1200 * math.log2(ratios[(k - 60) % 12])
         for k in range(128)]

lines = ["; Just 12", "[Tuning]"] + ["note %d=%d" % (k, math.floor(c + 0.5))
                                     for k, c in enumerate(cents)]
lines += ["", "[Exact Tuning]", "BaseFreq=8.1757989156437073336"]
lines += ["note %d=%.6f" % (k, c) for k, c in enumerate(cents)]
open("just12.tun", "wb").write("".join(l + "\r\n" for l in lines).encode())

dump = [0xF0, 0x7E, 0x7F, 0x08, 0x01, 0x00] + list(b"Just 12".ljust(16))
for c in cents:
    note = math.floor(c / 100)
    fraction = math.floor((c / 100 - note) * 16384 + 0.5)
    if fraction == 16384:
        note, fraction = note + 1, 0
    dump += [note, fraction >> 7, fraction & 0x7F]
checksum = 0
for b in dump[1:]:
    checksum ^= b
open("just12.syx", "wb").write(bytes(dump + [checksum & 0x7F, 0xF7]))
