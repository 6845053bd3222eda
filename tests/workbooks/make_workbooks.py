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
import random
import shutil
import subprocess
import sys
import tempfile
import unicodedata

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


def xlsxwriter_currencies():
    """Currencies by their ISO codes, before and after the number, as Excel's currency formats
    write them."""
    book = xlsxwriter.Workbook(os.path.join(HERE, "xlsxwriter-currencies.xlsx"))
    book.set_properties({"created": datetime.datetime(2026, 12, 10)})
    sheet = book.add_worksheet("Poplatky")
    codes = ["[$USD] #,##0.00", "#,##0.00 [$CHF]", "#,##0 [$HUF]", "[$SEK] #,##0"]
    sheet.write_row(0, 0, ["Jméno", "USD", "CHF", "HUF", "SEK"])
    sheet.write(1, 0, "Jana")
    for column, code in enumerate(codes, 1):
        sheet.write_number(1, column, 1500, book.add_format({"num_format": code}))
    book.close()


# A conference's attendees from five countries: (given names of men, of women, family names
# as (a man's, a woman's), what joins two of them, titles before the name, organisations as
# (name, mail domain), of which a nameless one is a private address).
COUNTRIES = [
    (["Jan", "Petr", "Tomáš", "Jiří", "Martin", "Lukáš", "Ondřej", "Vojtěch", "Radek"],
     ["Jana", "Eva", "Lucie", "Kateřina", "Tereza", "Markéta", "Hana", "Alžběta", "Šárka"],
     [("Novák", "Nováková"), ("Svoboda", "Svobodová"), ("Dvořák", "Dvořáková"),
      ("Černý", "Černá"), ("Procházka", "Procházková"), ("Kučera", "Kučerová"),
      ("Veselý", "Veselá"), ("Němec", "Němcová"), ("Pospíšil", "Pospíšilová"),
      ("Růžička", "Růžičková"), ("Šťastný", "Šťastná"), ("Říha", "Říhová")], " ",
     ["Ing.", "Mgr.", "Bc.", "MUDr.", "JUDr.", "PhDr.", "RNDr.", "doc. Ing.", "prof. MUDr.",
      "Ing. arch."],
     [("Univerzita Karlova, Přírodovědecká fakulta", "natur.cuni.cz"),
      ("Masarykova univerzita", "muni.cz"),
      ("Vysoké učení technické v Brně, Fakulta informačních technologií", "fit.vut.cz"),
      ("Ministerstvo pro místní rozvoj České republiky", "mmr.gov.cz"),
      ("Akademie věd České republiky, Ústav organické chemie a biochemie", "uochb.cas.cz"),
      ("Krajský úřad Jihomoravského kraje", "jmk.cz"), ("ČEZ, a. s.", "cez.cz"),
      ("Škoda Auto a.s.", "skoda-auto.cz"), ("", "seznam.cz")]),
    (["Peter", "Juraj", "Ľubomír", "Michal", "Ján"],
     ["Zuzana", "Mária", "Katarína", "Ľubica", "Lenka"],
     [("Horváth", "Horváthová"), ("Kováč", "Kováčová"), ("Baláž", "Balážová"),
      ("Šimko", "Šimková"), ("Lukáč", "Lukáčová"), ("Krajčír", "Krajčírová")], " ",
     ["Ing.", "Mgr.", "PaedDr.", "doc. RNDr."],
     [("Univerzita Komenského v Bratislave", "uniba.sk"),
      ("Slovenská technická univerzita v Bratislave, Fakulta elektrotechniky a informatiky",
       "stuba.sk"),
      ("Ministerstvo školstva, výskumu, vývoja a mládeže Slovenskej republiky", "minedu.sk"),
      ("Slovenská akadémia vied", "savba.sk")]),
    (["Piotr", "Krzysztof", "Paweł", "Michał", "Łukasz"],
     ["Anna", "Małgorzata", "Agnieszka", "Katarzyna", "Joanna"],
     [("Nowak", "Nowak"), ("Kowalski", "Kowalska"), ("Wiśniewski", "Wiśniewska"),
      ("Wójcik", "Wójcik"), ("Dąbrowski", "Dąbrowska"), ("Zieliński", "Zielińska")], "-",
     ["dr", "dr hab.", "prof. dr hab.", "mgr inż."],
     [("Uniwersytet Jagielloński w Krakowie", "uj.edu.pl"),
      ("Politechnika Warszawska, Wydział Elektryczny", "pw.edu.pl"),
      ("Akademia Górniczo-Hutnicza im. Stanisława Staszica w Krakowie", "agh.edu.pl"),
      ("Ministerstwo Cyfryzacji", "cyfra.gov.pl"), ("", "wp.pl")]),
    (["László", "István", "Zoltán", "Gábor", "Ferenc"],
     ["Erzsébet", "Katalin", "Ildikó", "Zsuzsanna", "Éva"],
     [(name, name) for name in ["Nagy", "Kovács", "Tóth", "Szabó", "Kiss", "Németh"]], " ",
     ["Dr.", "dr."],
     [("Budapesti Műszaki és Gazdaságtudományi Egyetem", "bme.hu"),
      ("Eötvös Loránd Tudományegyetem", "elte.hu"), ("Belügyminisztérium", "bm.gov.hu"),
      ("", "freemail.hu")]),
    (["Thomas", "Stefan", "Andreas", "Jürgen"], ["Sabine", "Claudia", "Ursula", "Birgit"],
     [(name, name) for name in ["Müller", "Schmidt", "Gruber", "Huber", "Weiß", "Hofmann"]], "-",
     ["Dr.", "Prof. Dr.", "Dipl.-Ing.", "Mag."],
     [("Technische Universität Wien", "tuwien.ac.at"),
      ("Bundesministerium für Bildung und Forschung", "bmbf.bund.de"),
      ("Fraunhofer-Institut für Integrierte Schaltungen IIS", "iis.fraunhofer.de")]),
]


def mail_name(text):
    """A name as a mail address spells it: without accents, spaces or hyphens."""
    text = text.replace("ł", "l").replace("Ł", "L").replace("ß", "ss")
    letters = unicodedata.normalize("NFD", text).encode("ascii", "ignore").decode()
    return letters.lower().replace(" ", "").replace("-", "")


def attendee(pick):
    """One attendee: (title, given name, family name, organisation, mail); an export leaves a
    cell of no title or no organisation empty."""
    men, women, families, joiner, titles, organisations = pick.choice(COUNTRIES)
    woman = pick.random() < 0.5
    first = pick.choice(women if woman else men)
    last = pick.choice(families)[woman]
    other = pick.choice(families)[woman]
    if pick.random() < 0.06 and other != last:
        last = f"{last}{joiner}{other}"
    title = pick.choice(titles) if pick.random() < 0.4 else ""
    organisation, domain = pick.choice(organisations)
    mail = f"{mail_name(first)}.{mail_name(last)}@{domain}"
    return (title or None, first, last, organisation or None, mail)


def registration_export():
    """A registration system's export through openpyxl: a title row over the headings, 300
    attendees, five of them registered twice, and when each registered."""
    pick = random.Random(2026)
    people = []
    while len(people) < 295:
        person = attendee(pick)
        if all(person[1:4] != other[1:4] for other in people):
            people.append(person)
    for twice in sorted(pick.sample(range(200), 5), reverse=True):
        people.insert(pick.randrange(twice + 1, len(people)), people[twice])
    # Registered in the hundred days before the export, between seven in the morning and eleven
    # at night, in the order of their numbers.
    times = sorted(datetime.datetime(2026, 9, 1) + datetime.timedelta(
        days=pick.randrange(100), minutes=pick.randrange(7 * 60, 23 * 60)) for _ in people)
    book = openpyxl.Workbook()
    book.properties.created = book.properties.modified = datetime.datetime(2026, 12, 10, 9, 30)
    sheet = book.active
    sheet.title = "Účastníci"
    sheet.append(["Registrace účastníků – Konference 2026, export 10. 12. 2026"])
    sheet.merge_cells("A1:G1")
    sheet["A1"].font = openpyxl.styles.Font(bold=True, size=14)
    sheet.append(["Č.", "Titul", "Jméno", "Příjmení", "Organizace", "E-mail", "Registrováno"])
    for cell in sheet[2]:
        cell.font = openpyxl.styles.Font(bold=True)
    for number, (person, time) in enumerate(zip(people, times), 1):
        sheet.append([number, *person, time])
        sheet.cell(row=number + 2, column=7).number_format = "d. m. yyyy h:mm"
    sheet.freeze_panes = "A3"
    sheet.auto_filter.ref = f"A2:G{len(people) + 2}"
    for column, width in zip("ABCDEFG", [6, 12, 14, 22, 60, 40, 18]):
        sheet.column_dimensions[column].width = width
    book.save(os.path.join(HERE, "registration-export.xlsx"))


WRITERS = [libreoffice_dates, xlsxwriter_formats, openpyxl_reports, odfpy_cells,
           xlsxwriter_currencies, registration_export]

if __name__ == "__main__":
    known = {writer.__name__: writer for writer in WRITERS}
    unknown = [name for name in sys.argv[1:] if name not in known]
    if unknown:
        sys.exit(f"no such workbook: {' '.join(unknown)}; known: {' '.join(known)}")
    for name in sys.argv[1:] or known:
        known[name]()
