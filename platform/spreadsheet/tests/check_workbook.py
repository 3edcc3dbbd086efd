#!/usr/bin/python3
"""Reads a workbook with an independent reader and compares it with an expectation.

Usage: check_workbook.py WORKBOOK EXPECTATION.json [WORKBOOK EXPECTATION.json ...]
.xls files are read with xlrd (formatting_info=True), .xlsx files with openpyxl (read-only) plus the
sheet XML's <cols> for column widths. A text cell holding "" counts as an empty cell (the .xlsx writer
writes no cell for it). In .xlsx texts, _xHHHH_ stands for the character U+HHHH, as Excel reads it;
openpyxl leaves those escapes in inline strings, so they are decoded here. The expectation holds, per sheet, its name, every row as a list
of texts (null for an empty cell) and the column widths in characters; "format" (optional) is checked
on every non-empty cell, or on every "format_every"-th row. Prints what differs; exit status 1 then.
"""
import json
import re
import sys
import zipfile

H_NAMES = {0: "general", 1: "left", 2: "center", 3: "right"}
V_NAMES = {0: "top", 1: "center", 2: "bottom"}
LINE_NAMES = {0: None, 1: "thin", 2: "medium"}


def read_xls(path, format_rows):
    import xlrd
    # Ragged rows: a sparse sheet of 65,536 rows is not widened to its widest row.
    book = xlrd.open_workbook(path, formatting_info=True, ragged_rows=True)
    sheets = []
    for sheet in book.sheets():
        rows, formats = [], {}
        for r in range(sheet.nrows):
            row = []
            for c in range(sheet.row_len(r)):
                cell = sheet.cell(r, c)
                if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK) or cell.value == "":
                    row.append(None)
                    continue
                if cell.ctype != xlrd.XL_CELL_TEXT:
                    row.append(("not a string", cell.value))
                    continue
                row.append(cell.value)
                if format_rows(r):
                    xf = book.xf_list[cell.xf_index]
                    font = book.font_list[xf.font_index]
                    b = xf.border
                    formats[(r, c)] = {
                        "font": font.name, "size": font.height / 20, "bold": bool(font.bold),
                        "wrap": bool(xf.alignment.text_wrapped),
                        "halign": H_NAMES.get(xf.alignment.hor_align),
                        "valign": V_NAMES.get(xf.alignment.vert_align),
                        "border": [LINE_NAMES.get(s) for s in (b.left_line_style, b.right_line_style,
                                                                 b.top_line_style, b.bottom_line_style)]}
            rows.append(row)
        widths = {c: info.width / 256 for c, info in sheet.colinfo_map.items()}
        sheets.append({"name": sheet.name, "rows": rows, "formats": formats, "widths": widths})
    return sheets, 0.01


def xlsx_widths(path):
    """Column widths per sheet name, from the workbook's sheet XML."""
    with zipfile.ZipFile(path) as z:
        workbook = z.read("xl/workbook.xml").decode("utf-8")
        rels = z.read("xl/_rels/workbook.xml.rels").decode("utf-8")
        targets = dict(re.findall(r'Id="([^"]+)"[^>]*Target="([^"]+)"', rels))
        targets.update({k: v for v, k in re.findall(r'Target="([^"]+)"[^>]*Id="([^"]+)"', rels)})
        result = {}
        for name, rid in re.findall(r'<sheet name="([^"]*)"[^>]*r:id="([^"]+)"', workbook):
            xml = z.read("xl/" + targets[rid]).decode("utf-8")
            widths = {}
            for lo, hi, w in re.findall(r'<col min="(\d+)" max="(\d+)" width="([\d.]+)"', xml):
                for c in range(int(lo) - 1, int(hi)):
                    widths[c] = float(w)
            import html
            result[html.unescape(name)] = widths
        return result


XLSX_ESCAPE = re.compile(r"_x([0-9A-Fa-f]{4})_")


def xlsx_text(value):
    return XLSX_ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), value)


def read_xlsx(path, format_rows):
    import openpyxl
    from openpyxl.cell.read_only import EMPTY_CELL
    book = openpyxl.load_workbook(path, read_only=True)
    widths = xlsx_widths(path)
    sheets = []
    for ws in book.worksheets:
        rows, formats = [], {}
        missing = None  # openpyxl gives every row the file does not have as this one tuple
        for r, cells in enumerate(ws.iter_rows()):
            if cells is missing or all(cell is EMPTY_CELL for cell in cells):
                missing = cells
                rows.append([])
                continue
            row = []
            for c, cell in enumerate(cells):
                if cell.value is None:
                    row.append(None)
                    continue
                if not isinstance(cell.value, str) or cell.data_type not in ("s", "inlineStr"):
                    row.append(("not a string", cell.value))
                    continue
                row.append(xlsx_text(cell.value))
                if format_rows(r):
                    a, b = cell.alignment, cell.border
                    formats[(r, c)] = {
                        "font": cell.font.name, "size": cell.font.size, "bold": bool(cell.font.b),
                        "wrap": bool(a.wrap_text), "halign": a.horizontal or "general",
                        "valign": a.vertical or "bottom",
                        "border": [s.style for s in (b.left, b.right, b.top, b.bottom)]}
            while row and row[-1] is None:
                row.pop()
            rows.append(row)
        sheets.append({"name": ws.title, "rows": rows, "formats": formats, "widths": widths.get(ws.title, {})})
    # libxlsxwriter stores a width with the cell padding Excel adds (about 0.71 of a character).
    return sheets, 0.75


def trimmed(rows):
    out = []
    for r in rows:
        if r and r[-1] is None:
            r = list(r)
            while r and r[-1] is None:
                r.pop()
        out.append(r)
    while out and not out[-1]:
        out.pop()
    return out


def compare(got, want, tolerance, problems):
    names = [s["name"] for s in got]
    if names != [s["name"] for s in want["sheets"]]:
        problems.append("sheet names %r, expected %r" % (names, [s["name"] for s in want["sheets"]]))
        return
    fmt = want.get("format")
    for g, w in zip(got, want["sheets"]):
        grows, wrows = trimmed(g["rows"]), trimmed(w["rows"])
        if len(grows) != len(wrows):
            problems.append("%s: %d rows, expected %d" % (g["name"], len(grows), len(wrows)))
        for r, (gr, wr) in enumerate(zip(grows, wrows)):
            if gr != wr:
                problems.append("%s row %d: %r, expected %r" % (g["name"], r, gr[:8], wr[:8]))
        if fmt is not None:
            for pos, f in g["formats"].items():
                for key, value in fmt.items():
                    if f[key] != value:
                        problems.append("%s cell %r: %s %r, expected %r" % (g["name"], pos, key, f[key], value))
        for c, width in w.get("widths", {}).items():
            have = g["widths"].get(int(c))
            if have is None or abs(have - width) > tolerance:
                problems.append("%s column %s: width %r, expected %r" % (g["name"], c, have, width))
        if len(problems) > 20:
            return


def check(path, expectation):
    with open(expectation, encoding="utf-8") as f:
        want = json.load(f)
    every = max(1, int(want.get("format_every", 1)))
    format_rows = lambda r: r % every == 0
    reader = read_xlsx if path.lower().endswith(".xlsx") else read_xls
    got, tolerance = reader(path, format_rows)
    problems = []
    compare(got, want, tolerance, problems)
    return problems


def main():
    pairs = list(zip(sys.argv[1::2], sys.argv[2::2]))
    failed = False
    for path, expectation in pairs:
        problems = check(path, expectation)
        for p in problems[:20]:
            print(("%s: %s" % (path, p)) if len(pairs) > 1 else p)
        failed = failed or bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
