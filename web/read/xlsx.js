// An .xlsx workbook (Office Open XML, as Excel, LibreOffice, Google Sheets and the libraries
// of registration systems write it) read into sheets of rows of cells as Excel shows them.
// Its parts are found through its content types and relationships, never by fixed names.
import { fail } from './failure.js';
import { formatTruth, formatValue, showsDate } from './formats.js';
import { attributeOf, attributesOf, elements, parseXml, tagsNamed, textOf } from './xml.js';
import { holds, unpack } from './zip.js';

const WORKBOOK_TYPES = /spreadsheetml\.sheet\.main|sheet\.macroEnabled\.main|spreadsheetml\.template\.main|template\.macroEnabled\.main/;
const MOST_COLUMNS = 16384;

const folderOf = (path) => path.slice(0, path.lastIndexOf('/') + 1);

// A relationship's target as a path in the ZIP: relative to the part's folder, or absolute.
function resolve(from, target) {
  const parts = (target[0] === '/' ? target.slice(1) : folderOf(from) + target).split('/');
  const path = [];
  for (const part of parts) {
    if (part === '..') path.pop();
    else if (part !== '.' && part !== '') path.push(part);
  }
  return path.join('/');
}

async function parsedPart(zip, path, signal) {
  const text = await unpack(zip, path, signal);
  return text === null ? null : parseXml(text);
}

// A part's relationships: [{ id, type, path }].
async function relationshipsOf(zip, part, signal) {
  const path = `${folderOf(part)}_rels/${part.slice(folderOf(part).length)}.rels`;
  const document = await parsedPart(zip, path, signal);
  if (!document) return [];
  return elements(document, 'Relationship').map((relationship) => ({
    id: relationship.getAttribute('Id'), type: relationship.getAttribute('Type') || '',
    external: relationship.getAttribute('TargetMode') === 'External',
    path: resolve(part, relationship.getAttribute('Target') || ''),
  }));
}

// The workbook's part: by its content type, else by the package's relationship to it.
async function workbookPart(zip, signal) {
  const types = await parsedPart(zip, '[Content_Types].xml', signal);
  const override = types && elements(types, 'Override')
    .find((element) => WORKBOOK_TYPES.test(element.getAttribute('ContentType') || ''));
  if (override) return resolve('', override.getAttribute('PartName') || '');
  const document = (await relationshipsOf(zip, '', signal))
    .find((relationship) => relationship.type.endsWith('/officeDocument'));
  if (document) return document.path;
  return holds(zip, 'xl/workbook.xml') ? 'xl/workbook.xml' : fail('damaged');
}

// Each cell style's number format, one an <xf> of cellXfs: a built-in format's number, or a
// code; an <xf> without one has format 0, General.
function cellFormats(styles) {
  if (!styles) return [];
  const codes = new Map(elements(styles, 'numFmt').map((format) =>
    [Number(format.getAttribute('numFmtId')), format.getAttribute('formatCode') || '']));
  const cellXfs = elements(styles, 'cellXfs')[0];
  if (!cellXfs) return [];
  return [...cellXfs.childNodes].filter((xf) => xf.localName === 'xf').map((xf) => {
    const id = Number(xf.getAttribute('numFmtId') || 0);
    // The reader's own short date, whatever code a producer wrote for it.
    return id === 14 || id === 22 || !codes.has(id) ? id : codes.get(id);
  });
}

// A string's text: its runs joined, without a phonetic reading; Excel's _xHHHH_ written out.
const RUN_TAGS = tagsNamed(['t', 'rPh']);
function stringText(xml) {
  let text = '';
  let [inRun, inReading, from] = [false, 0, 0];
  RUN_TAGS.lastIndex = 0;
  for (let tag = RUN_TAGS.exec(xml); tag; tag = RUN_TAGS.exec(xml)) {
    const [whole, closing, name, , selfClosing, cdata] = tag;
    if (cdata !== undefined) {
      if (inRun && !inReading) text += cdata;
      from = tag.index + whole.length;
      continue;
    }
    if (inRun && !inReading) text += textOf(xml.slice(from, tag.index));
    if (name === 'rPh') inReading += closing ? -1 : selfClosing ? 0 : 1;
    else inRun = !closing && !selfClosing;
    from = tag.index + whole.length;
  }
  return text.replace(/_x([0-9a-fA-F]{4})_/g, (whole, code) => String.fromCharCode(parseInt(code, 16)));
}

// The shared strings, one an <si>, the empty <si/> too.
function sharedStrings(xml) {
  if (xml === null) return [];
  return [...xml.matchAll(/<(?:[\w.-]+:)?si(?=[\s/>])[^>]*?(?:\/>|>([\s\S]*?)<\/(?:[\w.-]+:)?si>)/g)]
    .map(([, inner = '']) => stringText(inner));
}

// "C7" is column 2; a reference without its column is damage.
function columnOf(reference) {
  const letters = /^\$?([A-Z]{1,3})\$?\d*$/i.exec(reference);
  if (!letters) fail('damaged');
  let column = 0;
  for (const letter of letters[1].toUpperCase()) column = column * 26 + letter.charCodeAt(0) - 64;
  return column - 1;
}

function cellText(cell, value, inline, book) {
  const { t: type = 'n', s: style = 0 } = cell;
  const format = book.formats[Number(style)] ?? 0;
  if (type === 's') return value === null ? '' : book.strings[Number(value)] ?? fail('damaged');
  if (type === 'inlineStr') return inline ?? value ?? '';
  if (value === null) return '';
  if (type === 'b') return formatTruth(value.trim() === '1' || value.trim() === 'true');
  if (type === 'd') {
    const date = Date.parse(/Z|[+-]\d\d:?\d\d$/.test(value) ? value : `${value}Z`);
    if (!showsDate(format) || Number.isNaN(date)) return value;
    return formatValue(date / 86400000 + 25569, format, false);
  }
  if (type !== 'n') return value;
  const number = Number(value);
  return Number.isFinite(number) && value.trim() !== '' ? formatValue(number, format, book.date1904)
    : value;
}

const SHEET_TAGS = tagsNamed(['row', 'c', 'v', 'is']);
const INLINE_END = /<\/(?:[\w.-]+:)?is\s*>/g;

// A sheet's rows that hold anything, each { number, cells }, numbered as the sheet numbers
// them; pace(share) gives the page its turns.
async function sheetRows(xml, book, pace) {
  const rows = [];
  let [row, cell, number, column] = [null, null, 0, 0];
  let [value, inline, from, inValue] = [null, null, 0, false];
  const endRow = () => {
    if (row && row.some((text) => text !== undefined && text !== '')) {
      rows.push({ number, cells: Array.from(row, (text) => text ?? '') });
    }
    row = null;
  };
  SHEET_TAGS.lastIndex = 0;
  for (let tag = SHEET_TAGS.exec(xml), count = 0; tag; tag = SHEET_TAGS.exec(xml), count++) {
    if (count % 4096 === 0) await pace(tag.index / xml.length);
    const [whole, closing, name, attributes, selfClosing, cdata] = tag;
    const end = tag.index + whole.length;
    if (cdata !== undefined) {
      if (inValue) value += textOf(xml.slice(from, tag.index)) + cdata;
      from = end;
      continue;
    }
    if (name === 'row') {
      endRow();
      if (closing) continue;
      const r = attributesOf(attributes).r;
      number = r === undefined ? number + 1 : Number(r);
      if (!Number.isInteger(number) || number < 1) fail('damaged');
      [row, column] = [selfClosing ? null : [], 0];
    } else if (name === 'c') {
      if (closing && !cell) fail('damaged');
      if (!closing) {
        cell = attributesOf(attributes);
        column = cell.r === undefined ? column : columnOf(cell.r);
        [value, inline] = [null, null];
      }
      if (closing || selfClosing) {
        if (column >= MOST_COLUMNS) fail('damaged');
        row = row || [];
        row[column] = cellText(cell, value, inline, book);
        [cell, column] = [null, column + 1];
      }
    } else if (name === 'v' && cell) {
      if (closing && inValue) value += textOf(xml.slice(from, tag.index));
      if (!closing) value = '';
      inValue = !closing && !selfClosing;
    } else if (name === 'is' && cell && !closing) {
      // An inline string's runs are read as a shared string's are, up to its end.
      INLINE_END.lastIndex = end;
      const close = selfClosing ? null : INLINE_END.exec(xml);
      inline = selfClosing ? '' : stringText(xml.slice(end, close ? close.index : xml.length));
      SHEET_TAGS.lastIndex = close ? INLINE_END.lastIndex : selfClosing ? end : xml.length;
      from = SHEET_TAGS.lastIndex;
      continue;
    }
    from = end;
  }
  endRow();
  return rows;
}

// The sheets of a workbook: [{ name, hidden, rows: async (pace, signal) => rows }], and which the
// workbook showed last.
export async function readXlsx(zip, signal) {
  const part = await workbookPart(zip, signal);
  const workbook = await parsedPart(zip, part, signal);
  if (!workbook) fail('damaged');
  const relationships = new Map((await relationshipsOf(zip, part, signal))
    .map((relationship) => [relationship.id, relationship]));
  const ofType = (type) => [...relationships.values()]
    .find((relationship) => relationship.type.endsWith(`/${type}`));
  const strings = ofType('sharedStrings');
  const styles = ofType('styles');
  const settings = elements(workbook, 'workbookPr')[0];
  const book = {
    strings: sharedStrings(strings ? await unpack(zip, strings.path, signal) : null),
    formats: cellFormats(styles ? await parsedPart(zip, styles.path, signal) : null),
    date1904: /^(1|true)$/.test(settings?.getAttribute('date1904') || ''),
  };
  const sheets = elements(workbook, 'sheet').map((sheet) => {
    const relationship = relationships.get(attributeOf(sheet, 'id'));
    const isWorksheet = relationship?.type.endsWith('/worksheet') && !relationship.external;
    return {
      name: sheet.getAttribute('name') || '',
      hidden: /hidden/i.test(sheet.getAttribute('state') || ''),
      rows: async (pace, reading) => {
        if (!isWorksheet) return [];
        const xml = await unpack(zip, relationship.path, reading);
        return xml === null ? fail('damaged') : sheetRows(xml, book, pace);
      },
    };
  });
  const view = elements(workbook, 'workbookView')[0];
  return { sheets, active: Number(view?.getAttribute('activeTab') || 0) };
}
