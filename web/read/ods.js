// An .ods workbook (OpenDocument, as LibreOffice and others write it): each cell's text as the
// spreadsheet shows it, which LibreOffice keeps in the cell's paragraphs, a line each; a value
// without paragraphs by its type. Comments and pictures in a cell are not its text.
import { fail } from './failure.js';
import { formatTruth } from './formats.js';
import { attributesOf, attributeOf, elements, parseXml, tagsNamed, textOf } from './xml.js';
import { unpack } from './zip.js';

const MOST_COLUMNS = 16384;
const MOST_ROWS = 1 << 20;

const CONTENT_TAGS = tagsNamed(['table', 'table-row', 'table-cell', 'covered-table-cell', 'p',
  's', 'tab', 'line-break', 'annotation', 'frame', 'note']);
// What a cell's paragraphs hold inside these is no text of the cell.
const NOT_SHOWN = new Set(['annotation', 'frame', 'note']);

// Builds one sheet's rows, a tag at a time.
function sheetBuilder(sheet) {
  let row = [];
  let number = 1;
  let cell = null;
  let repeat = { row: 1, cell: 1 };
  return {
    startRow(attributes) {
      row = [];
      repeat.row = Math.max(1, Number(attributes['number-rows-repeated']) || 1);
    },
    endRow() {
      while (row.length > 0 && row[row.length - 1] === '') row.pop();
      if (row.length > 0) {
        const cells = row;
        const copies = Math.min(repeat.row, MOST_ROWS - sheet.length);
        for (let copy = 0; copy < copies; copy++) sheet.push({ number: number + copy, cells });
      }
      number += repeat.row;
      row = [];
    },
    startCell(attributes) {
      cell = { text: '', paragraphs: 0, attributes };
      repeat.cell = Math.max(1, Number(attributes['number-columns-repeated']) || 1);
    },
    add(text) {
      if (cell) cell.text += text;
    },
    startParagraph() {
      if (cell && cell.paragraphs++ > 0) cell.text += '\n';
    },
    // Empty cells repeated to the sheet's edge are no columns; between filled ones they are.
    endCell() {
      if (!cell) return;
      const text = cell.paragraphs > 0 ? cell.text : valueText(cell.attributes);
      const copies = Math.min(repeat.cell, MOST_COLUMNS - row.length);
      if (text === '' && row.length + copies >= MOST_COLUMNS) return;
      for (let copy = 0; copy < copies; copy++) row.push(text);
      cell = null;
    },
    get inCell() {
      return cell !== null;
    },
  };
}

// A cell that keeps no paragraphs shows its value.
function valueText(attributes) {
  const type = attributes['value-type'];
  if (type === 'boolean') return formatTruth(attributes['boolean-value'] === 'true');
  if (type === 'string') return attributes['string-value'] ?? '';
  return attributes.value ?? attributes['date-value'] ?? attributes['time-value'] ?? '';
}

async function sheetRows(xml, pace) {
  const sheet = [];
  const build = sheetBuilder(sheet);
  let hiddenDepth = 0;
  let inParagraph = false;
  let from = 0;
  CONTENT_TAGS.lastIndex = 0;
  for (let tag = CONTENT_TAGS.exec(xml), count = 0; tag; tag = CONTENT_TAGS.exec(xml), count++) {
    if (count % 4096 === 0) await pace(tag.index / xml.length);
    const [whole, closing, name, rawAttributes, selfClosing, cdata] = tag;
    if (hiddenDepth === 0 && inParagraph && build.inCell) {
      build.add(textOf(xml.slice(from, tag.index).replace(/<[^>]*>/g, '')));
    }
    from = tag.index + whole.length;
    if (cdata !== undefined) {
      if (hiddenDepth === 0 && inParagraph) build.add(cdata);
    } else if (NOT_SHOWN.has(name)) {
      if (!selfClosing) hiddenDepth += closing ? -1 : 1;
    } else if (hiddenDepth > 0) {
      // Inside a comment or a picture.
    } else if (name === 'table-row') {
      if (!closing) build.startRow(attributesOf(rawAttributes));
      if (closing || selfClosing) build.endRow();
    } else if (name === 'table-cell' || name === 'covered-table-cell') {
      if (!closing) build.startCell(attributesOf(rawAttributes));
      if (closing || selfClosing) build.endCell();
    } else if (name === 'p') {
      if (!closing) build.startParagraph();
      inParagraph = !closing && !selfClosing;
    } else if (name === 's' && !closing) {
      build.add(' '.repeat(Math.min(1000, Number(attributesOf(rawAttributes).c) || 1)));
    } else if (name === 'tab' && !closing) {
      build.add('\t');
    } else if (name === 'line-break' && !closing) {
      build.add('\n');
    }
  }
  if (hiddenDepth < 0) fail('damaged');
  return sheet;
}

// The tables of content.xml: each its name, whether its style hides it, and its XML.
function tablesOf(content) {
  const firstTable = content.search(/<(?:[\w.-]+:)?table[\s>]/);
  const styles = content.slice(0, firstTable < 0 ? content.length : firstTable);
  const hiddenStyles = new Set([...styles.matchAll(
    /<(?:[\w.-]+:)?style\b([^>]*)>(?:(?!<\/(?:[\w.-]+:)?style>)[\s\S])*?display\s*=\s*["']false["']/g)]
    .map(([, attributes]) => attributesOf(attributes).name));
  const tables = [];
  const opening = /<(?:[\w.-]+:)?table(?=[\s/>])([^>]*?)(\/?)>/g;
  for (let table = opening.exec(content); table; table = opening.exec(content)) {
    const attributes = attributesOf(table[1]);
    const start = opening.lastIndex;
    let end = start;
    if (!table[2]) {
      const closing = /<\/(?:[\w.-]+:)?table\s*>/g;
      closing.lastIndex = start;
      const found = closing.exec(content);
      if (!found) fail('damaged');
      end = found.index;
      opening.lastIndex = closing.lastIndex;
    }
    tables.push({ name: attributes.name ?? '', hidden: hiddenStyles.has(attributes['style-name']),
      xml: content.slice(start, end) });
  }
  return tables;
}

// The table the workbook showed last, by its settings.
async function activeTable(zip, signal) {
  const settings = await unpack(zip, 'settings.xml', signal);
  if (settings === null) return null;
  const item = elements(parseXml(settings), 'config-item')
    .find((element) => attributeOf(element, 'name') === 'ActiveTable');
  return item ? item.textContent : null;
}

export async function readOds(zip, signal) {
  const content = await unpack(zip, 'content.xml', signal);
  if (content === null) fail('damaged');
  const tables = tablesOf(content);
  const active = await activeTable(zip, signal);
  return {
    sheets: tables.map(({ name, hidden, xml }) => ({ name, hidden, rows: (pace) => sheetRows(xml, pace) })),
    active: Math.max(0, tables.findIndex((table) => table.name === active)),
  };
}
