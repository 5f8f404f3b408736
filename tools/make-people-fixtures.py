#!/usr/bin/python3
# Makes the schedule as people keep it in a spreadsheet, the way their programs save it: a title
# page and a hidden sheet before the schedule, a merged title and a line above its header,
# headers as people write them ("Мощность, кВт"), codes in capitals, the allowed loss as a percent,
# a multiplicity formatted "0.00", formulas, a date typed where a number belongs and a date in
# the notes, and an empty formatted area after the last column. openpyxl writes the formulas
# without their results (as a script does); tools/make-people-fixtures.sh then has LibreOffice
# and Gnumeric open it and save it again, with the results. Run with Debian's python3-openpyxl.
import datetime
import os
import sys

import openpyxl
from openpyxl.styles import Font, PatternFill

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'schedule', 'fixtures', 'people', 'people.xlsx')

book = openpyxl.Workbook()
title = book.active
title.title = 'Титул'
title['B3'] = 'Кабельный журнал'
title['B5'] = 'Объект: склад № 2'

hidden = book.create_sheet('Черновик')
hidden.sheet_state = 'hidden'
hidden.append(['расчет', 'мощность_кВт', 'род_тока', 'напряжение_В', 'материал', 'проводник', 'прокладка',
               'длина_м', 'потери_%'])
hidden.append(['прямой', 99, '1ф', 220, 'медь', 'провод', 'p1', 10, 4])

sheet = book.create_sheet('Журнал')
sheet['A1'] = 'Кабельный журнал, объект «Склад № 2»'
sheet['A1'].font = Font(bold=True, size=14)
sheet.merge_cells('A1:H1')
sheet['A2'] = 'Составил: Иванов И. И.'
header = ['Расчет', 'Мощность, кВт', 'Ток, А', 'Сечение, мм²', 'Род тока', 'Напряжение, В', 'Материал',
          'Проводник', 'Способ прокладки', 'Длина, м', 'Потери, %', 'Кратность', 'Примечание']
sheet.append(header)
for column in range(14, 18):  # a formatted empty area after the last column
    sheet.cell(row=3, column=column).fill = PatternFill('solid', fgColor='FFFF99')

rows = [
    # row 4: percent loss, capitals, multiplicity 1 shown as 1,00
    ['Прямой', 2.5, None, None, '1Ф', 220, 'Медь', 'Провод', 'P1', 15, 0.025, 1, 'проценты и заглавные'],
    # row 5: a multiplicity computed by a formula
    ['прямой', 5, None, None, '1ф', 220, 'медь', 'кабель', 'k1', 20, 0.04, '=5/4', 'кратность формулой'],
    # row 6: "2.5" typed with a point in a Russian locale became a date
    ['прямой', 2.5, None, None, '1ф', 220, 'медь', 'провод', 'p1', 100, datetime.datetime(2024, 5, 2), 1,
     'дата вместо потерь'],
    # row 7: a date in the notes, kept as a date
    ['обратный', None, None, 16, '3ф', 380, 'Алюминий', 'Кабель', 'К7', None, None, None,
     datetime.datetime(2024, 3, 12)],
    # row 8: an error value where the multiplicity belongs
    ['прямой', 2.5, None, None, '1ф', 220, 'медь', 'провод', 'p1', 15, 0.04, '=NA()', 'ошибка в кратности'],
    # row 9: a power formatted as a percent
    ['прямой', 0.025, None, None, '1ф', 220, 'медь', 'провод', 'p1', 15, 0.04, 1, 'мощность в процентах'],
    # row 10: a length computed by a formula, a multiplicity of 1,25 formatted 0.000
    ['прямой', 2.5, None, None, '1ф', 220, 'медь', 'провод', 'p1', '=10+5', 0.04, 1.25, 'длина формулой'],
]
for row in rows:
    sheet.append(row)
for r in range(4, 4 + len(rows)):
    sheet.cell(row=r, column=11).number_format = '0.0%'
    sheet.cell(row=r, column=12).number_format = '0.00'
sheet.cell(row=10, column=12).number_format = '0.000'
sheet.cell(row=6, column=11).number_format = 'DD.MM.YYYY'
sheet.cell(row=7, column=13).number_format = 'DD.MM.YYYY'
sheet.cell(row=9, column=2).number_format = '0.0%'
book.save(out)
