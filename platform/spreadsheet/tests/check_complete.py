#!/usr/bin/python3
"""Tells whether workbooks are complete: check_complete.py ROWS WORKBOOK...

An .xls is read whole with xlrd; an .xlsx must pass the zip's CRC check of every member and hold
ROWS <row> elements over its sheets, the last of them numbered ROWS. Prints one line per workbook
that is not complete; exit status 1 then.
"""
import re
import sys
import zipfile


def xls_problem(path, rows):
    import xlrd
    book = xlrd.open_workbook(path)
    have = sum(sheet.nrows for sheet in book.sheets())
    return None if have == rows else "%d rows, expected %d" % (have, rows)


def xlsx_problem(path, rows):
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        if bad is not None:
            return "member %s fails its CRC" % bad
        have, last = 0, 0
        for name in z.namelist():
            if re.fullmatch(r"xl/worksheets/sheet\d+\.xml", name):
                xml = z.read(name).decode("utf-8")
                numbers = re.findall(r'<row r="(\d+)"', xml)
                have += len(numbers)
                if numbers:
                    last = max(last, int(numbers[-1]))
    if have != rows or last != rows:
        return "%d rows ending at %d, expected %d" % (have, last, rows)
    return None


def main():
    rows = int(sys.argv[1])
    failed = False
    for path in sys.argv[2:]:
        try:
            problem = (xlsx_problem if path.lower().endswith(".xlsx") else xls_problem)(path, rows)
        except Exception as e:  # an unreadable workbook is what this looks for
            problem = "unreadable: %s" % e
        if problem:
            print("%s: %s" % (path, problem))
            failed = True
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
