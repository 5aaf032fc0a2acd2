"""Prints what the mido package reads from Standard MIDI Files, for tests to compare.

For each file given: a line "file NAME format F tracks N ticks T", then one line per
message with its absolute tick: channel messages as their bytes in upper-case hex
("60 E0 00 40"), meta messages as their type and attributes ("0 set_tempo tempo=1000000").
mido is an independent reader: a file it cannot read makes the program fail with its error.
"""
import os
import sys

import mido


def describe(path):
    midi = mido.MidiFile(path)
    name = os.path.basename(path)
    print(f"file {name} format {midi.type} tracks {len(midi.tracks)} ticks {midi.ticks_per_beat}")
    for track in midi.tracks:
        tick = 0
        for message in track:
            tick += message.time
            if message.is_meta:
                attributes = {k: v for k, v in message.dict().items() if k not in ("type", "time")}
                words = " ".join(f"{k}={attributes[k]}" for k in sorted(attributes))
                print(f"{tick} {message.type} {words}".rstrip())
            else:
                print(f"{tick} {message.hex()}")


def main():
    for path in sys.argv[1:]:
        describe(path)


if __name__ == "__main__":
    main()
