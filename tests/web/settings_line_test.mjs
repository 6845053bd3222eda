// The settings line the page writes (the tool's own writer, through its WebAssembly) read back
// by the tool's own reader: over the first lines of the golden lists and the check's settings
// lines, for every layout and charset asked, the list then has exactly that layout and charset
// (kept: the one the first line means), a settings line read as meant, and every name it had;
// asked for the layout the first line means, it has that one, or the layout in use where the
// first line is a name. The page has no reader of its own.
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
const IN_USE = 2;
// What a list's first line means, by the check's reading of it.
const meantLayout = (facts) => (facts.settingsMeant ? Number(facts.settingsMeant[0]) || 1
  : facts.hasSettingsLine && !facts.mistakes.name_as_settings_line.count ? facts.layout : IN_USE);
const meantCharset = (facts) => (facts.settingsMeant
  ? CHARSETS[facts.settingsMeant.slice(2)] ?? 'windows-1250' : facts.charset);
const MEANT = ['name_as_settings_line', 'spaced_settings_line', 'unknown_charset'];

test('the settings line written is the one the tool reads, for every layout and charset', async () => {
  const module = process.env.KORVELA_MODULE;
  await tool.start((await import(pathToFileURL(module).href)).default,
    readFileSync(module.replace(/\.mjs$/, '.wasm')));
  for (const list of lists) {
    const before = tool.check(list);
    const taken = before.mistakes.name_as_settings_line.count;
    for (const layout of [1, 2, 6, 'meant']) {
      for (const charset of ['keep', 'UTF-8', 'windows-1250']) {
        const written = tool.withSettingsLine(list, layout, charset, IN_USE);
        const after = tool.check(written);
        const said = `${JSON.stringify(String(list).slice(0, 40))} as ${layout}, ${charset}`;
        assert.equal(after.layout, layout === 'meant' ? meantLayout(before) : layout, said);
        assert.equal(after.charset, CHARSETS[charset] ?? meantCharset(before), said);
        assert.ok(after.hasSettingsLine && MEANT.every((m) => after.mistakes[m].count === 0 ||
          (m === 'unknown_charset' && charset === 'keep')), said);
        assert.equal(after.tags, before.tags + taken, said);
      }
    }
  }
});
