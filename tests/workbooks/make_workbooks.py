#!/usr/bin/python3
"""Writes the test workbooks of tests/workbooks/ with the producers that users' spreadsheets come
from: LibreOffice (headless), openpyxl, XlsxWriter and odfpy, each as it writes by default. The
files are committed; run this again only to change them:

    apt-get install libreoffice-calc-nogui python3-openpyxl python3-xlsxwriter python3-odf
    /usr/bin/python3 tests/workbooks/make_workbooks.py

The reader's tests make their small edits of these files themselves (tests/web/reader_cases.mjs).
"""
import datetime
import os
import shutil
import subprocess
import tempfile

import openpyxl
import xlsxwriter
from odf.draw import Frame, Image
from odf.office import Annotation
from odf.opendocument import OpenDocumentSpreadsheet
from odf.svg import Title
from odf.table import Table, TableCell, TableRow
from odf.text import P

HERE = os.path.dirname(os.path.abspath(__file__))
PEOPLE = [("Jana", "Nováková", "ACME s.r.o."), ("Petr", "Dvořák", "Škoda Auto, a.s."),
          ("Žofie", "Šťastná", "A=B Consulting")]


def libreoffice_dates():
    """20,000 rows with a date column, as LibreOffice saves a CSV it opened as .xlsx."""
    folder = tempfile.mkdtemp()
    csv = os.path.join(folder, "dates.csv")
    with open(csv, "w", encoding="utf-8") as out:
        out.write("Jméno,Příjmení,Firma,Registrace\n")
        start = datetime.date(2026, 1, 5)
        for row in range(20000):
            day = start + datetime.timedelta(days=row % 300)
            out.write(f"Jana {row},Nováková,ACME {row % 50},{day.isoformat()}\n")
    subprocess.run(["soffice", "--headless", "--infilter=CSV:44,34,76,1,,1033,false,false",
                    "--convert-to", "xlsx", "--outdir", folder, csv], check=True,
                   stdout=subprocess.DEVNULL)
    shutil.copy(os.path.join(folder, "dates.xlsx"), os.path.join(HERE, "libreoffice-dates.xlsx"))
    shutil.rmtree(folder)


def xlsxwriter_formats():
    """Excel's built-in short date, sections for negative numbers, accounting and currency
    formats, truth values; an empty first sheet and a hidden one before the active one."""
    book = xlsxwriter.Workbook(os.path.join(HERE, "xlsxwriter-formats.xlsx"))
    book.add_worksheet("Prázdný")
    hidden = book.add_worksheet("Skrytý")
    hidden.write_row(0, 0, ["Jméno", "Příjmení"])
    hidden.write_row(1, 0, ["Skrytá", "Osoba"])
    hidden.hide()
    sheet = book.add_worksheet("Hosté")
    sheet.activate()
    formats = {
        "date": book.add_format({"num_format": 14}),
        "negative": book.add_format({"num_format": "#,##0;-#,##0"}),
        "accounting": book.add_format(
            {"num_format": '_-* #,##0\\ "Kč"_-;\\-* #,##0\\ "Kč"_-;_-* "-"??\\ "Kč"_-;_-@_-'}),
        "euro": book.add_format({"num_format": "#,##0.00\\ [$€-407]"}),
    }
    sheet.write_row(0, 0, ["Jméno", "Příjmení", "Datum", "Saldo", "Poplatek", "Eura", "Platí"])
    sheet.write(1, 0, "Jana")
    sheet.write(1, 1, "Nováková")
    sheet.write_datetime(1, 2, datetime.datetime(2026, 9, 1), formats["date"])
    sheet.write_number(1, 3, -1234, formats["negative"])
    sheet.write_number(1, 4, -1234, formats["accounting"])
    sheet.write_number(1, 5, 12.5, formats["euro"])
    sheet.write_boolean(1, 6, True)
    book.close()


def openpyxl_reports():
    """A first sheet of instructions before the table; a report with a title row and an empty
    row above its headings."""
    book = openpyxl.Workbook()
    notes = book.active
    notes.title = "Pokyny"
    for line in ["Vyplňte prosím jména účastníků na listu Účastníci.",
                 "Jedna osoba na řádek.", "Děkujeme."]:
        notes.append([line])
    table = book.create_sheet("Účastníci")
    table.append(["Jméno", "Příjmení", "Firma"])
    for person in PEOPLE:
        table.append(list(person))
    book.save(os.path.join(HERE, "openpyxl-instructions.xlsx"))

    book = openpyxl.Workbook()
    report = book.active
    report.title = "Export"
    report.append(["Seznam účastníků – konference 2026"])
    report.append([])
    report.append(["Name", "Vorname", "Firma"])
    for first, last, company in PEOPLE:
        report.append([last, first, company])
    book.save(os.path.join(HERE, "openpyxl-report.xlsx"))


def odfpy_cells():
    """Cells as odfpy writes them: 120 empty repeated cells in the middle of a row, a comment
    and a titled picture inside cells, and a cell of two paragraphs."""
    document = OpenDocumentSpreadsheet()
    table = Table(name="Hosté")

    def row(*cells):
        element = TableRow()
        for cell in cells:
            element.addElement(cell)
        table.addElement(element)

    def text(value, *inside):
        cell = TableCell(valuetype="string")
        for element in inside:
            cell.addElement(element)
        cell.addElement(P(text=value))
        return cell

    row(text("Jméno"), TableCell(numbercolumnsrepeated=120), text("Firma"))
    note = Annotation()
    note.addElement(P(text="Přijede později"))
    frame = Frame(width="1cm", height="1cm")
    frame.addElement(Image(href="Pictures/logo.png"))
    frame.addElement(Title(text="Logo firmy"))
    row(text("Jana Nováková", note), TableCell(numbercolumnsrepeated=120), text("ACME", frame))
    two = TableCell(valuetype="string")
    two.addElement(P(text="Petr"))
    two.addElement(P(text="Dvořák"))
    row(two, TableCell(numbercolumnsrepeated=120), text("Škoda"))
    document.spreadsheet.addElement(table)
    document.save(os.path.join(HERE, "odfpy-cells.ods"))


libreoffice_dates()
xlsxwriter_formats()
openpyxl_reports()
odfpy_cells()
