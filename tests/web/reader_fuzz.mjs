// A fuzzer of the spreadsheet reader: the test workbooks and CSV as seeds, mutated as bytes, or
// unpacked and mutated as the XML of one of their parts, then packed again. Every input must
// give rows, or one of the reader's reasons, in no more than a second a megabyte (a second at
// least); anything else is a finding, written to a file to read again.
//
// usage: node tests/web/reader_fuzz.mjs SECONDS [SEED]
import { readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import './dom.mjs';
import { outcome } from './reader_outcome.mjs';
import { partsOf, zipOf } from './zip_files.mjs';

const [seconds = '30', seedGiven] = process.argv.slice(2);
const folder = join(dirname(fileURLToPath(import.meta.url)), '..', 'workbooks');
const seeds = readdirSync(folder).filter((name) => /\.(xlsx|ods|csv)$/.test(name))
  .filter((name) => name !== 'libreoffice-dates.xlsx')
  .map((name) => [name, readFileSync(join(folder, name))]);

// A small seeded generator (mulberry32), so that a run can be repeated from its seed.
let state = Number(seedGiven ?? Date.now() % 2 ** 32) >>> 0;
const seed = state;
function random() {
  state = (state + 0x6D2B79F5) >>> 0;
  let t = state;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
}
const below = (count) => Math.floor(random() * count);
const pick = (items) => items[below(items.length)];

// What spreadsheet XML is made of, and what damages it.
const PIECES = ['<c r="A1">', '</c>', '<row>', '</row>', '<row r="0">', '<si/>', '<si>', '</si>',
  '&#xZZ;', '&#0;', '&amp;', '&', '<![CDATA[', ']]>', '<x:c r="B2" t="s"><x:v>5</x:v></x:c>',
  ' t="s"', ' t="b"', ' t="d"', ' t="e"', ' t="inlineStr"', ' s="9999"', '<v>99999999</v>',
  '<v>-1e308</v>', '<v>NaN</v>', ' r="XFD1048576"', ' r="7"', '<is><t>x</t></is>', '<rPh>',
  ' table:number-columns-repeated="16384"', ' table:number-rows-repeated="1048576"',
  '<table:table-cell>', '</table:table-cell>', '<text:p>', '<office:annotation>',
  '<text:s text:c="99999"/>', ' numFmtId="14"', ' formatCode="[$-F800]dddd"', '"', "'", '<', '>',
  '\uFEFF', '_x000D_', 'sep=;\n', '"a\nb"', ';', '\t', '\r'];

function mutateText(text) {
  const at = below(text.length + 1);
  const span = below(64);
  switch (below(4)) {
    case 0: return text.slice(0, at) + pick(PIECES) + text.slice(at);
    case 1: return text.slice(0, at) + text.slice(at + span);
    case 2: return text.slice(0, at) + text.slice(at, at + span).repeat(1 + below(50)) + text.slice(at);
    default: return text.slice(0, at) + text.slice(below(text.length), below(text.length)) + text.slice(at);
  }
}

function mutateBytes(bytes) {
  const out = Buffer.from(bytes);
  for (let count = 1 + below(8); count > 0; count--) out[below(out.length)] = below(256);
  return below(4) === 0 ? out.subarray(0, below(out.length)) : out;
}

function mutant([name, bytes]) {
  if (name.endsWith('.csv') || below(5) === 0) {
    return name.endsWith('.csv') && below(2) ? Buffer.from(mutateText(bytes.toString())) : mutateBytes(bytes);
  }
  const parts = partsOf(bytes);
  const chosen = below(parts.length);
  return zipOf(parts.map(([part, data], at) => [part, at !== chosen ? data
    : Array.from({ length: 1 + below(4) }).reduce((text) => mutateText(text), data.toString('utf8'))]));
}

const until = Date.now() + Number(seconds) * 1000;
let [runs, reasons, slowest] = [0, 0, 0];
while (Date.now() < until) {
  const [name] = pick(seeds);
  const input = mutant(pick(seeds.filter(([other]) => other.split('.').pop() === name.split('.').pop())));
  const started = Date.now();
  const found = await outcome({ bytes: input, name, language: pick(['en', 'cs', 'de']) });
  const took = Date.now() - started;
  slowest = Math.max(slowest, took);
  runs++;
  if (found.reason) reasons++;
  if (found.error || took > 1000 * Math.max(1, input.length / 2 ** 20)) {
    const file = `reader-finding-${seed}-${runs}.${name.split('.').pop()}`;
    writeFileSync(file, input);
    console.log(`finding: ${found.error ?? `${took} ms`} (seed ${seed}); the input is ${file}`);
    process.exit(1);
  }
}
console.log(`reader fuzzing: ${runs} inputs in ${seconds} s (seed ${seed}), ${reasons} given a ` +
  `reason, the rest rows; the slowest ${slowest} ms; no finding`);
