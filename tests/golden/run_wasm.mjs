// The browser page's WebAssembly run as the tool runs: Korvela.txt in the current folder to
// Korvela.html, ending with the run's exit status, through the page's own entry. The golden
// runner and the differential test give it as the emulator of the module they test:
//
// usage: node run_wasm.mjs MODULE    (MODULE: the page's korvela_web.js)
import { existsSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { resolve } from 'node:path';

const LIST_MISSING = 1;
const korvelaModule = createRequire(import.meta.url)(resolve(process.argv[2]));

// The page always holds a list; a missing file is the tool's to report, and creates nothing.
if (!existsSync('Korvela.txt')) process.exit(LIST_MISSING);
const korvela = await korvelaModule().ready;
korvela.list = readFileSync('Korvela.txt');
korvela.sheet = [];
const status = korvela._korvela_write_sheet();
writeFileSync('Korvela.html', Buffer.concat(korvela.sheet));
process.exit(status);
