#!/usr/bin/python3
"""The xlwt peer of the export benchmarks: writes cells in the grid export's format to a .xls file.

  grid_export_xlwt.py OUT ROWS    GridExportBench's generated table of ROWS rows, header included
  grid_export_xlwt.py OUT TABLE   the rows of TABLE (UTF-8, one tab-separated row a line, header
                                  first); prints the seconds spent writing, reading TABLE excluded

Rows past one sheet's 65,536 continue on Sheet2, Sheet3, ... under a copy of the header row, as
our writer lays them out.
"""
import sys
import time
import xlwt

MAX_ROWS = 65536
HEADER = ["ID", "车牌号", "时间", "车牌颜色", "相机IP地址"]


def generated(rows):
    for r in range(1, rows):
        yield (str(r), "京A%05d" % (r % 100000), "2024年8月21日%d时%d分%d秒" % (r % 24, r % 60, r % 59 + 1),
               "蓝色" if r % 2 else "黄色", "192.168.%d.%d" % (r % 256, r % 7))


def read_table(path):
    with open(path, encoding="utf-8") as table:
        lines = table.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    return lines[0].split("\t"), [line.split("\t") for line in lines[1:]]


def write(out, header, rows):
    style = xlwt.easyxf("font: name 宋体, height 200, colour black; alignment: wrap on, horiz center, vert center;"
                        " borders: left thin, right thin, top thin, bottom thin")
    book = xlwt.Workbook(encoding="utf-8")
    sheet = None
    sheets = 0
    r = MAX_ROWS
    for cells in rows:
        if r == MAX_ROWS:
            sheets += 1
            sheet = book.add_sheet("Sheet%d" % sheets)
            for c, text in enumerate(header):
                sheet.write(0, c, text, style)
            r = 1
        for c, text in enumerate(cells):
            sheet.write(r, c, text, style)
        r += 1
    if sheet is None:
        sheet = book.add_sheet("Sheet1")
        for c, text in enumerate(header):
            sheet.write(0, c, text, style)
    book.save(out)


def main():
    out, source = sys.argv[1], sys.argv[2]
    if source.isdigit():
        write(out, HEADER, generated(int(source)))
        return
    header, rows = read_table(source)
    start = time.perf_counter()
    write(out, header, rows)
    print("writing %.3f" % (time.perf_counter() - start))


if __name__ == "__main__":
    main()
