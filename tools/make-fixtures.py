#!/usr/bin/python3
# Makes the schedule files the tests read, the way spreadsheets and people make them: CSV saved
# by a Russian spreadsheet program (Windows-1251, ";" and CRLF), UTF-8 with a byte-order mark,
# "," with quoted numbers, tabs; workbooks written by openpyxl (not by kelvo), one with numbers
# stored as floating-point artefacts, shared strings, an empty row and a second sheet; a
# damaged workbook, an empty one, and the start of a compound file as an .xls workbook or one
# saved with a password begins. Run once with Debian's python3-openpyxl; the files are checked
# in under tests/schedule/fixtures.
import os
import openpyxl

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'schedule', 'fixtures')
HEADER = ['расчет', 'мощность_кВт', 'ток_А', 'сечение_мм2', 'род_тока', 'напряжение_В', 'материал', 'проводник',
          'прокладка', 'длина_м', 'потери_%', 'кратность']
ROWS = [
    ['прямой', '2,5', '', '', '1ф', '220', 'медь', 'провод', 'p1', '15', '4', '1'],
    ['прямой', '', '23', '', '1ф', '220', 'медь', 'кабель', 'k3', '40', '5', '1,25'],
    ['обратный', '', '', '16', '3ф', '380', 'алюминий', 'кабель', 'к7', '', '', ''],
]


def path(name):
    return os.path.join(HERE, name)


def csv(rows, separator, quote_commas=False):
    def cell(text):
        return '"%s"' % text if quote_commas and ',' in text else text
    return [separator.join(cell(c) for c in row) for row in rows]


with open(path('excel-cp1251.csv'), 'wb') as f:
    f.write(('\r\n'.join(csv([HEADER] + ROWS, ';')) + '\r\n').encode('cp1251'))
with open(path('utf8-bom.csv'), 'wb') as f:
    f.write(('\ufeff' + '\r\n'.join(csv([HEADER] + ROWS, ';')) + '\r\n').encode('utf-8'))
with open(path('comma.csv'), 'wb') as f:
    f.write(('\n'.join(csv([HEADER] + ROWS, ',', quote_commas=True)) + '\n').encode('utf-8'))
with open(path('tab.csv'), 'wb') as f:
    f.write(('\n'.join(csv([HEADER] + ROWS, '\t')) + '\n').encode('utf-8'))


def number(text):
    if text == '':
        return None
    try:
        value = float(text.replace(',', '.'))
        return int(value) if value.is_integer() else value
    except ValueError:
        return text


book = openpyxl.Workbook()
sheet = book.active
sheet.title = 'Журнал'
sheet.append(HEADER)
first = [number(c) for c in ROWS[0]]
first[1] = 2.4999999999999996  # what a sum in a spreadsheet often leaves behind
sheet.append(first)
sheet.append([number(c) for c in ROWS[1]])
sheet.append([])
sheet.append([number(c) for c in ROWS[2]])
second = book.create_sheet('Второй')
second.append(HEADER)
second.append(['прямой', 10, None, None, '3ф', 380, 'медь', 'кабель', 'k5', 100, 4, None])
book.save(path('schedule.xlsx'))

with open(path('schedule.xlsx'), 'rb') as f:
    whole = f.read()
with open(path('damaged.xlsx'), 'wb') as f:
    f.write(whole[:len(whole) // 2])

empty = openpyxl.Workbook()
empty.active.title = 'Пусто'
empty.save(path('empty.xlsx'))

with open(path('compound.xls'), 'wb') as f:
    f.write(b'\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1' + bytes(504))
