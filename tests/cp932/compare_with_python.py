#!/usr/bin/env python3
"""Compares the POSIX build's code page 932 with Python's cp932 codec.

The POSIX table (platform/posix/cp932_table.inc) was made from Windows'
conversions as Wine does them; Python's codec is generated from Microsoft's
published CP932 mapping, so it is a reference that owes nothing to Wine.
Every single byte, every pair after a byte 80-FF and every UTF-16 unit are
compared both ways. The known differences between the two are Windows' own
behaviour, and each is allowed only in the exact form written below:

1. A lead byte alone, or with a byte that makes no pair: Python refuses it;
   Windows decodes it to its default character U+30FB, and validation
   (MB_ERR_INVALID_CHARS) refuses it.
2. Units Python encodes one way only (it decodes the bytes to another unit,
   as U+00A2 to 81 91, which is U+FFE0): to Windows these are best-fit
   guesses, which the program turns off (WC_NO_BEST_FIT_CHARS), so they
   become "?".
3. Characters with two pairs (the NEC-selected IBM extensions in rows ED-EE
   and the IBM extensions in rows FA-FC): Python encodes to the NEC row,
   Windows to the IBM row. Both pairs decode to the character in both.

Usage: compare_with_python.py CP932_DUMP
"""
import subprocess
import sys

DEFAULT = "30FB"
QUESTION_MARK = "3F"


def units(text):
    return "".join("%04X" % ord(c) for c in text)


def python_decode(data):
    try:
        return units(data.decode("cp932"))
    except UnicodeDecodeError:
        return None


def python_encode(unit):
    if 0xD800 <= unit <= 0xDFFF:
        return None  # a lone surrogate is no character
    try:
        return chr(unit).encode("cp932")
    except UnicodeEncodeError:
        return None


def read_dump(program):
    output = subprocess.run([program], check=True, capture_output=True, text=True).stdout
    singles, pairs, encodings = {}, {}, {}
    for line in output.splitlines():
        fields = line.split()
        if fields[0] in ("s", "p"):
            table = singles if fields[0] == "s" else pairs
            decoded = fields[2] if len(fields) == 4 else ""
            table[int(fields[1], 16)] = (decoded, fields[-1] == "1")
        elif fields[0] == "e":
            encodings[int(fields[1], 16)] = fields[2] if len(fields) == 3 else ""
    return singles, pairs, encodings


def main():
    singles, pairs, encodings = read_dump(sys.argv[1])
    faults = []
    allowed = {"lead byte without a pair": 0, "one-way Python encoding": 0,
               "NEC row in Python, IBM row in Windows": 0}

    def check(what, actual, expected):
        if actual != expected:
            faults.append("%s: ours %s, expected %s" % (what, actual, expected))

    if len(singles) != 256 or len(pairs) != 128 * 255 or len(encodings) != 65536:
        sys.exit("incomplete dump: %d singles, %d pairs, %d units"
                 % (len(singles), len(pairs), len(encodings)))

    # What a byte alone gives on Windows: Python's character, or for a lead
    # byte (difference 1) the default character, refused by validation.
    leads = set()
    expected_single = {}
    for byte in range(256):
        decoded = python_decode(bytes([byte]))
        if decoded is None:
            leads.add(byte)
            expected_single[byte] = (DEFAULT, False)
        else:
            expected_single[byte] = (decoded, True)
        check("byte %02X" % byte, singles[byte], expected_single[byte])
    allowed["lead byte without a pair"] += len(leads)

    for first in range(0x80, 0x100):
        for second in range(1, 0x100):
            pair = bytes([first, second])
            if first in leads:
                decoded = python_decode(pair)
                if decoded is None:
                    expected = (DEFAULT, False)
                    allowed["lead byte without a pair"] += 1
                else:
                    expected = (decoded, True)
            else:
                one, two = expected_single[first], expected_single[second]
                expected = (one[0] + two[0], one[1] and two[1])
            check("bytes %02X %02X" % (first, second), pairs[first << 8 | second], expected)

    for unit in range(0x10000):
        ours = encodings[unit]
        theirs = python_encode(unit)
        if theirs is None:
            check("unit %04X" % unit, ours, QUESTION_MARK)
        elif ours == theirs.hex().upper():
            continue
        elif python_decode(theirs) != "%04X" % unit:
            allowed["one-way Python encoding"] += 1
            check("unit %04X (one-way in Python)" % unit, ours, QUESTION_MARK)
        else:
            ours_bytes = bytes.fromhex(ours)
            if (len(ours_bytes) == 2 and 0xFA <= ours_bytes[0] <= 0xFC
                    and 0xED <= theirs[0] <= 0xEE
                    and python_decode(ours_bytes) == "%04X" % unit):
                allowed["NEC row in Python, IBM row in Windows"] += 1
            else:
                faults.append("unit %04X: ours %s, Python %s" % (unit, ours, theirs.hex().upper()))

    for name, count in allowed.items():
        print("allowed difference, %s: %d" % (name, count))
    if faults:
        print("%d differences from Python's cp932:" % len(faults))
        for fault in faults[:40]:
            print("  " + fault)
        sys.exit(1)
    print("code page 932 matches Python's cp932 in every byte, pair and unit")


main()
