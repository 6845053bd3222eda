// The page's modules tested in node (node:test): the spreadsheet reader's cases, the texts,
// and, given the tool's module (korvela_web.mjs), the settings line the page writes.
// Exits 77 (skipped) where tests/'s packages are missing (npm ci there), except under CI.
//
// usage: node tests/web/run.mjs [MODULE]
import { spawnSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
if (!existsSync(join(here, '..', 'node_modules', '@xmldom', 'xmldom'))) {
  console.log('skipped: tests/ has no node_modules (npm ci --prefix tests)');
  process.exit(process.env.CI === 'true' ? 1 : 77);
}
const module = process.argv[2];
const files = module ? ['settings_line_test.mjs']
  : ['reader_test.mjs', 'texts_test.mjs', 'sentences_test.mjs'];
const run = spawnSync(process.execPath, ['--test', ...files.map((file) => join(here, file))],
  { stdio: 'inherit', env: { ...process.env, KORVELA_MODULE: module ?? '' } });
process.exit(run.status ?? 1);
