// The page's texts: each language's table has every key of the English one, each text the same
// {names}, a form for every count; and no text holds a word the native speakers' review marks
// as an error (review_errors.mjs).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import TEXTS from '../../web/texts/all.js';
import REVIEW_ERRORS from './review_errors.mjs';

// A form may say its count in words ("one thing"), so {count} is left out of the comparison.
const names = (text) => JSON.stringify((String(text).match(/\{\w+\}/g) || [])
  .filter((name) => name !== '{count}').sort());
const formsOf = (text, language) => Array.from({ length: 200 }, (_, count) =>
  (typeof text === 'object' ? text[new Intl.PluralRules(language).select(count)] ?? text.other : text));

for (const [language, table] of Object.entries(TEXTS)) {
  test(`${language}: every key, its {names}, a form for every count`, () => {
    for (const [key, english] of Object.entries(TEXTS.en)) {
      const wanted = names(typeof english === 'object' ? english.other : english);
      for (const form of formsOf(table[key], language)) {
        assert.ok(form !== undefined && names(form) === wanted, `${key}: ${form}`);
      }
    }
    assert.deepEqual(Object.keys(table).filter((key) => !(key in TEXTS.en)), [], 'keys beyond English');
  });
  test(`${language}: none of the review's errors`, () => {
    for (const [key, text] of Object.entries(table)) {
      for (const form of formsOf(text, language)) {
        for (const error of REVIEW_ERRORS[language] || []) {
          assert.ok(!form.includes(error), `${key} holds "${error}": ${form}`);
        }
      }
    }
  });
}
