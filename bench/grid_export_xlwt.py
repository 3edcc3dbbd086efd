#!/usr/bin/python3
"""The peer of GridExportBench: xlwt writes the same cells in the same format to the given path."""
import sys
import xlwt

rows = int(sys.argv[2])
style = xlwt.easyxf("font: name 宋体, height 200, colour black; alignment: wrap on, horiz center, vert center;"
                    " borders: left thin, right thin, top thin, bottom thin")
book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("Sheet1")
header = ["ID", "车牌号", "时间", "车牌颜色", "相机IP地址"]
for c, text in enumerate(header):
    sheet.write(0, c, text, style)
for r in range(1, rows):
    cells = (str(r), "京A%05d" % (r % 100000), "2024年8月21日%d时%d分%d秒" % (r % 24, r % 60, r % 59 + 1),
             "蓝色" if r % 2 else "黄色", "192.168.%d.%d" % (r % 256, r % 7))
    for c, text in enumerate(cells):
        sheet.write(r, c, text, style)
book.save(sys.argv[1])
