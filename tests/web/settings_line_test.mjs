// The settings line the page writes (the tool's own writer, through its WebAssembly) read back
// by the tool's own reader: over the first lines of the golden lists and the check's settings
// lines, for every layout and charset asked, the list then has exactly that layout and charset,
// a settings line read as meant, and every name it had. The page has no reader of its own.
//
// usage: KORVELA_MODULE=korvela_web.mjs node --test settings_line_test.mjs
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readdirSync, readFileSync, existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import * as tool from '../../web/tool.js';

const cases = join(dirname(fileURLToPath(import.meta.url)), '..', 'golden', 'cases');
const LINES = ['6 = UTF-8', '6= utf8', ' 6=UTF-8 ', 'Jana=Nováková', 'Petr2=Novák', '=', 'x=utf-8',
  '4=ISO-8859-2', '\uFEFF4=UTF-8', '\uFEFFAnna', '2=windows-1250', '4=utf-8 (Notepad)', 'Anna', ''];
const lists = [
  ...readdirSync(cases).map((name) => join(cases, name, 'Korvela.txt')).filter(existsSync)
    .map((file) => readFileSync(file)).filter((bytes) => bytes[0] !== 0xFF),
  ...LINES.map((line) => Buffer.from(`${line}\r\nŽofie\r\nBob\r\n`)),
];
const CHARSETS = { 'UTF-8': 'UTF-8', 'windows-1250': 'WINDOWS-1250' };
const MEANT = ['name_as_settings_line', 'spaced_settings_line', 'unknown_charset'];

test('the settings line written is the one the tool reads, for every layout and charset', async () => {
  const module = process.env.KORVELA_MODULE;
  await tool.start((await import(pathToFileURL(module).href)).default,
    readFileSync(module.replace(/\.mjs$/, '.wasm')));
  for (const list of lists) {
    const before = tool.check(list);
    const taken = before.mistakes.name_as_settings_line.count;
    for (const layout of [1, 2, 6]) {
      for (const charset of ['keep', 'UTF-8', 'windows-1250']) {
        const written = tool.withSettingsLine(list, layout, charset);
        const after = tool.check(written);
        const said = `${JSON.stringify(String(list).slice(0, 40))} as ${layout}, ${charset}`;
        assert.equal(after.layout, layout, said);
        assert.equal(after.charset, CHARSETS[charset] ?? (before.mistakes.spaced_settings_line.count
          ? after.charset : before.charset), said);
        assert.ok(after.hasSettingsLine && MEANT.every((m) => after.mistakes[m].count === 0 ||
          (m === 'unknown_charset' && charset === 'keep')), said);
        assert.equal(after.tags, before.tags + taken, said);
      }
    }
  }
});
