// Every sentence the page says, in each language, as tests/web/sentences.mjs renders them, held
// to the golden file of that language: a change of a text must come with the sentences it
// changes (node tests/web/sentences.mjs writes them anew, for the diff to show).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import TEXTS from '../../web/texts/all.js';
import { FOLDER, sentencesOf } from './sentences.mjs';

for (const language of Object.keys(TEXTS)) {
  test(`${language}: every sentence as its golden file has it`, () => {
    const golden = readFileSync(join(FOLDER, `${language}.txt`), 'utf8').split('\n');
    const said = sentencesOf(language).split('\n');
    said.forEach((line, at) => assert.equal(line, golden[at], `line ${at + 1} of ${language}.txt`));
    assert.equal(said.length, golden.length, `${language}.txt has lines no sentence says`);
  });
}
