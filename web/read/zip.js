// The files of a ZIP, as .xlsx and .ods workbooks are: found through the central directory,
// unpacked by the browser's own DecompressionStream. Anything out of bounds is damage.
import { fail } from './failure.js';

const END_OF_DIRECTORY = 0x06054B50;
const DIRECTORY_ENTRY = 0x02014B50;
const LOCAL_HEADER = 0x04034B50;
const ZIP64_EXTRA = 0x0001;
// What a part may unpack to: a sheet of XML rarely packs more than twenty times; far more is a
// damaged file, or one made to fill the memory.
const MOST_UNPACKED = (packed) => 200 * packed + (1 << 20);

const uint16 = (bytes, at) => bytes[at] | (bytes[at + 1] << 8);
const uint32 = (bytes, at) => (uint16(bytes, at) | (uint16(bytes, at + 2) << 16)) >>> 0;

export const isZip = (bytes) => bytes.length >= 4 && uint32(bytes, 0) === LOCAL_HEADER;

function within(bytes, at, length) {
  if (!(at >= 0 && length >= 0 && at + length <= bytes.length)) fail('damaged');
}

// Sizes and the header's place past 4 GB stand in the entry's ZIP64 field, where marked so.
function zip64Fields(bytes, extra, extraLength, entry) {
  for (let at = extra; at + 4 <= extra + extraLength;) {
    const [id, size] = [uint16(bytes, at), uint16(bytes, at + 2)];
    if (id === ZIP64_EXTRA) {
      let field = at + 4;
      for (const name of ['unpacked', 'packed', 'header']) {
        if (entry[name] !== 0xFFFFFFFF) continue;
        within(bytes, field, 8);
        entry[name] = uint32(bytes, field) + uint32(bytes, field + 4) * 2 ** 32;
        field += 8;
      }
    }
    at += 4 + size;
  }
}

// The files of a ZIP by name: { bytes, files: Map(name => entry) }.
export function unzip(bytes) {
  let end = bytes.length - 22;
  while (end >= 0 && uint32(bytes, end) !== END_OF_DIRECTORY) end--;
  if (end < 0) fail('damaged');
  const files = new Map();
  const names = new TextDecoder();
  let at = uint32(bytes, end + 16);
  for (let count = uint16(bytes, end + 10); count > 0; count--) {
    within(bytes, at, 46);
    if (uint32(bytes, at) !== DIRECTORY_ENTRY) fail('damaged');
    const [nameLength, extraLength] = [uint16(bytes, at + 28), uint16(bytes, at + 30)];
    within(bytes, at + 46, nameLength + extraLength);
    const entry = {
      encrypted: (uint16(bytes, at + 8) & 1) === 1, method: uint16(bytes, at + 10),
      packed: uint32(bytes, at + 20), unpacked: uint32(bytes, at + 24),
      header: uint32(bytes, at + 42),
    };
    zip64Fields(bytes, at + 46 + nameLength, extraLength, entry);
    files.set(names.decode(bytes.subarray(at + 46, at + 46 + nameLength)), entry);
    at += 46 + nameLength + extraLength + uint16(bytes, at + 32);
  }
  return { bytes, files };
}

// A file's entry by its name, in any case: some producers write the names of parts otherwise.
function entryOf({ files }, name) {
  if (files.has(name)) return files.get(name);
  const wanted = name.toLowerCase();
  for (const [found, entry] of files) if (found.toLowerCase() === wanted) return entry;
  return null;
}

export const holds = (zip, name) => entryOf(zip, name) !== null;

async function inflate(packed, signal) {
  const most = MOST_UNPACKED(packed.length);
  const reader = new Blob([packed]).stream()
    .pipeThrough(new DecompressionStream('deflate-raw')).getReader();
  const chunks = [];
  let size = 0;
  try {
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      size += value.length;
      if (size > most) fail('too_large');
      chunks.push(value);
      signal?.throwIfAborted();
    }
  } catch (error) {
    reader.cancel().catch(() => {});
    if (error.reason || error.name === 'AbortError') throw error;
    fail('damaged');
  }
  const unpacked = new Uint8Array(size);
  let filled = 0;
  for (const chunk of chunks) {
    unpacked.set(chunk, filled);
    filled += chunk.length;
  }
  return unpacked;
}

// XML is UTF-8, or UTF-16 where it starts with a byte-order mark.
function text(bytes) {
  const utf16 = { 0xFFFE: 'utf-16le', 0xFEFF: 'utf-16be' }[(bytes[0] << 8) | bytes[1]];
  try {
    return new TextDecoder(utf16 || 'utf-8').decode(bytes);
  } catch {
    return fail('too_large');
  }
}

// A file's text, or null where the ZIP has no file of that name.
export async function unpack(zip, name, signal) {
  const entry = entryOf(zip, name);
  if (!entry) return null;
  if (entry.encrypted) fail('encrypted');
  const { bytes } = zip;
  within(bytes, entry.header, 30);
  if (uint32(bytes, entry.header) !== LOCAL_HEADER) fail('damaged');
  const start = entry.header + 30 + uint16(bytes, entry.header + 26) +
    uint16(bytes, entry.header + 28);
  within(bytes, start, entry.packed);
  const packed = bytes.subarray(start, start + entry.packed);
  if (entry.method === 0) return text(packed);
  if (entry.method !== 8) fail('damaged');
  return text(await inflate(packed, signal));
}
