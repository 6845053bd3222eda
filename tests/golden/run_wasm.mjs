// The browser page's WebAssembly run as the tool runs: Korvela.txt in the current folder to
// Korvela.html, ending with the run's exit status, through the page's own entry. The sheet
// that the preview writes a part at a time must be the same bytes, part after part; where it
// is not, the run ends with PARTS_DIFFER. The golden runner and the differential test give it
// as the emulator of the module they test:
//
// usage: node run_wasm.mjs MODULE    (MODULE: the page's korvela_web.mjs, its .wasm beside it)
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';

const LIST_MISSING = 1;
const PARTS_DIFFER = 99;
// Tags a part: whole pairs in two columns.
const PART_TAGS = 2;
const { default: korvelaModule } = await import(pathToFileURL(resolve(process.argv[2])).href);
const wasm = readFileSync(process.argv[2].replace(/\.mjs$/, '.wasm'));

// The page always holds a list; a missing file is the tool's to report, and creates nothing.
if (!existsSync('Korvela.txt')) process.exit(LIST_MISSING);
const korvela = await korvelaModule({ wasm }).ready;
korvela.list = readFileSync('Korvela.txt');
korvela.sheet = [];
const status = korvela._korvela_write_sheet();
const sheet = Buffer.concat(korvela.sheet);
writeFileSync('Korvela.html', sheet);

korvela.sheet = [];
for (let from = 0, tag = 0; from >= 0; tag += PART_TAGS) {
  from = korvela._korvela_write_sheet_part(from, tag, PART_TAGS);
  if (from === -2) process.exit(PARTS_DIFFER);
}
process.exit(status === 0 && !Buffer.concat(korvela.sheet).equals(sheet) ? PARTS_DIFFER : status);
