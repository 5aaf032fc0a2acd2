#!/usr/bin/env python3
"""Works out by hand the expected tunings of the 12-note just scale with key 60 = 1/1 at
middle C (8.1757989156437073336 Hz * 2**5), every key in order, as just12.scl gives it:
just12.tun and just12.syx.
Written independently of the program's code; run it to make the files again."""
import math
from fractions import Fraction

ratios = [Fraction(1), Fraction(16, 15), Fraction(9, 8), Fraction(6, 5), Fraction(5, 4),
          Fraction(4, 3), Fraction(7, 5), Fraction(3, 2), Fraction(8, 5), Fraction(5, 3),
          Fraction(16, 9), Fraction(15, 8)]

def cents(key):
    octave, degree = divmod(key - 60, 12)
    return 6000 + 1200 * octave + 1200 * math.log2(ratios[degree])

lines = ["; Just 12", "[Tuning]"]
lines += ["note %d=%d" % (k, math.floor(cents(k) + 0.5)) for k in range(128)]
lines += ["", "[Exact Tuning]", "BaseFreq=8.1757989156437073336"]
lines += ["note %d=%.6f" % (k, cents(k)) for k in range(128)]
with open("just12.tun", "wb") as f:
    f.write("".join(l + "\r\n" for l in lines).encode())

dump = [0xF0, 0x7E, 0x7F, 0x08, 0x01, 0x00] + list(b"Just 12".ljust(16))
for k in range(128):
    semitones = cents(k) / 100
    note = math.floor(semitones)
    fraction = math.floor((semitones - note) * 16384 + 0.5)
    if fraction == 16384:
        note, fraction = note + 1, 0
    dump += [note, fraction >> 7, fraction & 0x7F]
checksum = 0
for b in dump[1:]:
    checksum ^= b
dump += [checksum & 0x7F, 0xF7]
with open("just12.syx", "wb") as f:
    f.write(bytes(dump))
