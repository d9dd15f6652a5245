#!/usr/bin/env python3
"""Writes the seed inputs of cycle_fuzz into corpus/ (encoding: CycleFuzz.cpp):
people crossing the forward axis, so that tracks start and passes are
counted from the first runs on, odd readings, and an invalid configuration.

Run from anywhere: python3 component/fuzz/make_corpus.py
"""
import math
import os
import struct

TYPICAL = 11  # reading choice: u16 -> 100 + value % 5901 mm
PARAMETERS = ["Human_NUM", "Environmental_maxdata", "LRFdata_min", "LRFdata_max",
              "LRFdata_mid", "LRFdata_theta", "LRF_Total_steps", "Human_width",
              "Count_mode", "Human_setdistance", "StrolvexData", "Count_area_distance"]


def reading(mm=None, choice=None):
    if mm is None:
        return bytes([choice])
    return bytes([TYPICAL]) + struct.pack("<H", int(mm) - 100)


def shape(length, mm):
    return b"\x00" + struct.pack("<H", length) + reading(mm)


def run(first, count, mm=None, choice=None):
    return b"\x01" + struct.pack("<HB", first, count - 1) + reading(mm, choice)


SEND_AND_CYCLE = b"\x03\x04"


def clock(ms):
    return b"\x05" + struct.pack("<I", ms)


def parameter(name, choice):
    """choice 1 picks the parameter's first interesting value (see CycleFuzz.cpp)."""
    return b"\x06" + bytes([PARAMETERS.index(name), choice])


TOGGLE = b"\x07"


def walk(start, end, scans, wall=3900, length=726, others=()):
    """A person 400 mm wide walking in a straight line from start to end (x, y
    in mm, x lateral) in front of a wall, one scan every 100 ms; others are
    more (start, end) pairs walked at the same time."""
    steps_per_radian = 1024 / (2 * math.pi)
    out = b""
    for _ in range(3):  # the background first
        out += shape(length, wall) + SEND_AND_CYCLE + clock(100)
    for k in range(scans):
        out += shape(length, wall)
        for (x0, y0), (x1, y1) in ((start, end),) + tuple(others):
            x = x0 + (x1 - x0) * k / (scans - 1)
            y = y0 + (y1 - y0) * k / (scans - 1)
            r = math.hypot(x, y)
            centre = 384 + math.atan2(x, y) * steps_per_radian
            half = math.atan2(200, r) * steps_per_radian
            out += run(int(round(centre - half)), int(round(2 * half)), r - 150)
        out += SEND_AND_CYCLE + clock(100)
    return out


def main():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    os.makedirs(here, exist_ok=True)
    seeds = {
        "walk_in": walk((-900, 3000), (700, 2000), 20),
        "walk_out": walk((900, 3000), (-700, 2000), 20),
        "walk_out_in_mode_out_in": parameter("Count_mode", 1) + walk((900, 3000), (-700, 2000), 20),
        "walk_one_slot_then_restart": parameter("Human_NUM", 1) + walk((-900, 3000), (700, 2000), 20)
        + TOGGLE + TOGGLE + walk((-600, 3000), (600, 2200), 15),
        "two_people_crossing": walk((-900, 3000), (700, 2000), 20, others=(((1200, 3300), (-500, 2100)),)),
        "odd_readings": shape(726, 3000) + SEND_AND_CYCLE
        + b"".join(run(100 + 20 * c, 10, choice=c) for c in range(11)) + SEND_AND_CYCLE
        + shape(700, 3000) + SEND_AND_CYCLE + clock(0xFFFFFF00) + clock(0x200) + SEND_AND_CYCLE,
        "invalid_configuration": parameter("LRFdata_max", 5) + shape(1100, 3900) + SEND_AND_CYCLE
        + SEND_AND_CYCLE + parameter("LRFdata_max", 0) + SEND_AND_CYCLE + SEND_AND_CYCLE,
    }
    for name, data in seeds.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
