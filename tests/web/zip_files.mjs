// ZIP files for the tests: a workbook's parts read out, edited, and packed again, as a user's
// tools would write them (deflated) or as the smallest writer does (stored).
import zlib from 'node:zlib';

// The parts of a ZIP: [[name, bytes]], in the order of its central directory.
export function partsOf(zip) {
  const bytes = Buffer.from(zip);
  const end = bytes.lastIndexOf(Buffer.from([0x50, 0x4B, 0x05, 0x06]));
  const parts = [];
  for (let at = bytes.readUInt32LE(end + 16), left = bytes.readUInt16LE(end + 10); left > 0; left--) {
    const [method, packed, nameLength] = [bytes.readUInt16LE(at + 10), bytes.readUInt32LE(at + 20),
      bytes.readUInt16LE(at + 28)];
    const header = bytes.readUInt32LE(at + 42);
    const name = bytes.toString('utf8', at + 46, at + 46 + nameLength);
    const start = header + 30 + bytes.readUInt16LE(header + 26) + bytes.readUInt16LE(header + 28);
    const data = bytes.subarray(start, start + packed);
    parts.push([name, method === 8 ? zlib.inflateRawSync(data) : Buffer.from(data)]);
    at += 46 + nameLength + bytes.readUInt16LE(at + 30) + bytes.readUInt16LE(at + 32);
  }
  return parts;
}

// A ZIP of [name, text or bytes, flags]; deflated unless told to store.
export function zipOf(parts, { store = false } = {}) {
  const [files, directory] = [[], []];
  let offset = 0;
  for (const [name, content, flags = 0] of parts) {
    const [nameBytes, data] = [Buffer.from(name), Buffer.from(content)];
    const packed = store ? data : zlib.deflateRawSync(data);
    const header = Buffer.alloc(30);
    header.writeUInt32LE(0x04034B50, 0);
    header.writeUInt16LE(flags, 6);
    header.writeUInt16LE(store ? 0 : 8, 8);
    header.writeUInt32LE(zlib.crc32(data), 14);
    header.writeUInt32LE(packed.length, 18);
    header.writeUInt32LE(data.length, 22);
    header.writeUInt16LE(nameBytes.length, 26);
    const entry = Buffer.alloc(46);
    entry.writeUInt32LE(0x02014B50, 0);
    entry.writeUInt16LE(flags, 8);
    header.copy(entry, 10, 8, 26);
    entry.writeUInt16LE(nameBytes.length, 28);
    entry.writeUInt32LE(offset, 42);
    files.push(header, nameBytes, packed);
    directory.push(entry, nameBytes);
    offset += header.length + nameBytes.length + packed.length;
  }
  const end = Buffer.alloc(22);
  end.writeUInt32LE(0x06054B50, 0);
  end.writeUInt16LE(parts.length, 8);
  end.writeUInt16LE(parts.length, 10);
  end.writeUInt32LE(directory.reduce((size, part) => size + part.length, 0), 12);
  end.writeUInt32LE(offset, 16);
  return Buffer.concat([...files, ...directory, end]);
}

// The ZIP with its parts' texts edited: edits maps a part's name to (text) => text.
export const edited = (zip, edits) => zipOf(partsOf(zip).map(([name, data]) =>
  [name, edits[name] ? edits[name](data.toString('utf8')) : data]));

// An .xlsx of sheets of inline strings, the least a workbook holds: the rows of the first sheet,
// and [name, rows] of any more.
export function xlsxOf(rows, ...more) {
  const sheets = [['Hosté', rows], ...more];
  const letter = (at) => String.fromCharCode(65 + at);
  const cell = (text, at) => `<c r="${letter(at)}" t="inlineStr"><is><t>${text}</t></is></c>`;
  const relationship = (at) => `<Relationship Id="rId${at + 1}" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet${at + 1}.xml"/>`;
  return zipOf([
    ['[Content_Types].xml', '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>'],
    ['xl/workbook.xml', `<workbook xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>${
      sheets.map(([name], at) => `<sheet name="${name}" r:id="rId${at + 1}"/>`).join('')}</sheets></workbook>`],
    ['xl/_rels/workbook.xml.rels', `<Relationships>${sheets.map((_, at) => relationship(at)).join('')}</Relationships>`],
    ...sheets.map(([, sheetRows], at) => [`xl/worksheets/sheet${at + 1}.xml`,
      `<worksheet><sheetData>${sheetRows.map((row) => `<row>${row.map(cell).join('')}</row>`).join('')}</sheetData></worksheet>`]),
  ], { store: true });
}
