#!/usr/bin/python3
"""Independent reader for the date tests: checks the runtime's OLE Automation dates against
Python's own proleptic Gregorian calendar (datetime) with exact rational arithmetic.

Input lines (tab-separated, floats as hexadecimal literals):
  P  y mo d h mi s ms  value  numeric-text  chinese-text  value-of-iso-text   (DateFromParts, DateToText, TextToDate)
  V  value  numeric-text                                                       (DateToText of any double)
  D  a b  seconds64  seconds32                                                 (DateDiffSeconds)
Prints every mismatch (at most 20) and exits 1 when there was one.
"""
import calendar
import math
import sys
from datetime import date, datetime, timedelta
from fractions import Fraction

EPOCH = datetime(1899, 12, 30)
FIRST_DAY, LAST_DAY = -657434, 2958465
TOLERANCE_DAYS = Fraction(1, 10**9)


def ole_of(moment):
    """OLE value of a datetime plus extra exact seconds: signed day, time of day away from zero."""
    days = (moment.date() - EPOCH.date()).days
    time = Fraction(moment.hour * 3600 + moment.minute * 60 + moment.second, 86400)
    return days + time if days >= 0 else days - time


def seconds_of(value):
    """Exact seconds since the epoch of an OLE value, or None outside the valid days."""
    day = math.trunc(value)
    if not FIRST_DAY <= day <= LAST_DAY:
        return None
    return Fraction(day) * 86400 + abs(Fraction(value) - day) * 86400


def texts_of(moment):
    y, mo, d, h, mi, s = moment.year, moment.month, moment.day, moment.hour, moment.minute, moment.second
    numeric, chinese = f"{mo}/{d}/{y}", f"{y}年{mo}月{d}日"
    if s:
        numeric, chinese = numeric + f" {h}:{mi}:{s}", chinese + f"{h}时{mi}分{s}秒"
    elif mi:
        numeric, chinese = numeric + f" {h}:{mi}", chinese + f"{h}时{mi}分"
    elif h:
        numeric, chinese = numeric + f" {h}", chinese + f"{h}时"
    return numeric, chinese


def rounded_moment(value):
    """The calendar moment of an OLE value rounded to the second; None when there is none or the
    value lies too close to a half second to say."""
    day = math.trunc(value)
    if not FIRST_DAY <= day <= LAST_DAY:
        return None, True
    exact = abs(Fraction(value) - day) * 86400
    whole = math.floor(exact)
    if abs(exact - whole - Fraction(1, 2)) < Fraction(1, 10**6):
        return None, False
    seconds = whole + (1 if exact - whole > Fraction(1, 2) else 0)
    try:
        return EPOCH + timedelta(days=day, seconds=seconds), True
    except OverflowError:
        return None, True


def check_parts(f, fail):
    y, mo, d, h, mi, s, ms = (int(x) for x in f[1:8])
    value, numeric, chinese, from_text = float.fromhex(f[8]), f[9], f[10], float.fromhex(f[11])
    day = min(d, calendar.monthrange(y, mo)[1])
    moment = datetime(y, mo, day, h, mi, s)
    base = ole_of(moment)
    extra = Fraction(ms, 86400000)
    expected = base + extra if base >= 0 else base - extra
    if abs(Fraction(value) - expected) > TOLERANCE_DAYS:
        fail(f"DateFromParts{(y, mo, d, h, mi, s, ms)} = {value!r}, expected {float(expected)!r}")
    if abs(Fraction(from_text) - base) > TOLERANCE_DAYS:
        fail(f"TextToDate of {(y, mo, d, h, mi, s)} = {from_text!r}, expected {float(base)!r}")
    if ms != 500:
        shown = moment + timedelta(seconds=1 if ms > 500 else 0)
        if shown.year <= 9999 and (numeric, chinese) != texts_of(shown):
            fail(f"DateToText of {(y, mo, d, h, mi, s, ms)} = {numeric!r} {chinese!r}, expected {texts_of(shown)}")


def check_value(f, fail):
    value, numeric = float.fromhex(f[1]), f[2] if len(f) > 2 else ""
    moment, decided = rounded_moment(value)
    if not decided:
        return
    expected = texts_of(moment)[0] if moment else ""
    if numeric != expected:
        fail(f"DateToText({value!r}) = {numeric!r}, expected {expected!r}")


def check_diff(f, fail):
    a, b, got64, got32 = float.fromhex(f[1]), float.fromhex(f[2]), int(f[3]), int(f[4])
    difference = seconds_of(a) - seconds_of(b)
    magnitude = abs(difference)
    whole = math.floor(magnitude)
    nearest = whole + (1 if magnitude - whole >= Fraction(1, 2) else 0)
    allowed = {nearest}
    if abs(magnitude - whole - Fraction(1, 2)) < Fraction(1, 1000):
        allowed = {whole, whole + 1}    # floating point may land on either side of a half second
    sign = 1 if difference > 0 else -1
    allowed = {sign * m for m in allowed}
    if got64 not in allowed:
        fail(f"DateDiffSeconds64({a!r}, {b!r}) = {got64}, expected {sorted(allowed)} (exact {float(difference)})")
    if got32 != max(-2**31, min(2**31 - 1, got64)):
        fail(f"DateDiffSeconds({a!r}, {b!r}) = {got32} does not saturate {got64}")


def main():
    failures = []

    def fail(message):
        failures.append(message)

    checkers = {"P": check_parts, "V": check_value, "D": check_diff}
    counts = {kind: 0 for kind in checkers}
    with open(sys.argv[1], encoding="utf-8") as cases:
        for line in cases:
            fields = line.rstrip("\n").split("\t")
            checkers[fields[0]](fields, fail)
            counts[fields[0]] += 1
    for message in failures[:20]:
        print(message)
    print(f"checked {counts}, {len(failures)} mismatches")
    return 1 if failures or min(counts.values()) == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
