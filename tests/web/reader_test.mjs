// The spreadsheet reader over its cases (reader_cases.mjs), in node: each case's file or text
// read as the page reads it, and what came of it held to what the case expects.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import './dom.mjs';
import { CASES } from './reader_cases.mjs';
import { holds, outcome } from './reader_outcome.mjs';

for (const group of new Set(CASES.map((c) => c.group))) {
  test(group, async (t) => {
    for (const { name, input, expected } of CASES.filter((c) => c.group === group)) {
      await t.test(name, async () => {
        const found = await outcome(input);
        const shown = { ...found, rows: found.rows?.slice(0, 4) };
        assert.ok(holds(found, expected), `${JSON.stringify(shown)}\nexpected ${JSON.stringify(expected)}`);
      });
    }
  });
}
