#!/usr/bin/env python3
"""Turns the noun sources of the IPA dictionary (mecab-ipadic's CSV files, EUC-JP) into the compact
readings file quick-find ships: every word with a kanji in it, its cost and its readings in hiragana.

Layout (little-endian): b"DNRD", u32 version (1), u32 record count, u32 pool length in UTF-16 units,
u32 offsets[count + 1] into the pool, then the pool (UTF-16). A record is the word, a tab, one unit
holding the word's cost (the dictionary's cost plus 32768, clamped), then its readings separated by
commas. Records are sorted by the word's UTF-16 units, so a reader finds a word by binary search.

Usage: make_readings.py <ipadic folder> <output file>
"""
import struct
import sys
from pathlib import Path

# Person, place and organisation names, and the ordinary nouns company names are built from.
SOURCES = ["Noun.name.csv", "Noun.place.csv", "Noun.org.csv", "Noun.proper.csv", "Noun.csv", "Noun.verbal.csv",
           "Noun.adjv.csv", "Suffix.csv"]
MAX_LENGTH = 12  # longer words are phrases a phone book line does not hold
MAX_READINGS = 4


def is_kanji(c):
    o = ord(c)
    return 0x4E00 <= o <= 0x9FFF or 0x3400 <= o <= 0x4DBF or 0xF900 <= o <= 0xFAFF or c in "々〆ヶ"


def hiragana(katakana):
    return "".join(chr(ord(c) - 0x60) if 0x30A1 <= ord(c) <= 0x30F6 else c for c in katakana)


def units(text):
    data = text.encode("utf-16-le")
    return list(struct.unpack("<%dH" % (len(data) // 2), data))


def main():
    folder, output = Path(sys.argv[1]), Path(sys.argv[2])
    words = {}  # word -> {reading: cost}
    for name in SOURCES:
        with open(folder / name, encoding="euc_jp", errors="strict") as f:
            for line in f:
                fields = line.rstrip("\n").split(",")
                if len(fields) < 12:
                    continue
                word, cost, reading = fields[0], int(fields[3]), hiragana(fields[11])
                if not (0 < len(word) <= MAX_LENGTH) or not any(is_kanji(c) for c in word):
                    continue
                if not reading or any(not (0x3041 <= ord(c) <= 0x3096 or c == "ー") for c in reading):
                    continue
                known = words.setdefault(word, {})
                known[reading] = min(cost, known.get(reading, cost))
    pool = []
    offsets = []
    for word in sorted(words, key=units):
        readings = sorted(words[word].items(), key=lambda rc: rc[1])[:MAX_READINGS]
        cost = max(0, min(65535, readings[0][1] + 32768))
        offsets.append(len(pool))
        pool.extend(units(word) + [0x09, cost] + units(",".join(r for r, _ in readings)))
    offsets.append(len(pool))
    with open(output, "wb") as f:
        f.write(b"DNRD" + struct.pack("<III", 1, len(offsets) - 1, len(pool)))
        f.write(struct.pack("<%dI" % len(offsets), *offsets))
        f.write(struct.pack("<%dH" % len(pool), *pool))


if __name__ == "__main__":
    main()
