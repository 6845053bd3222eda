// The mendings the page offers beside a mistake: each gives the list mended, as bytes. Every
// settings line among them is written by the tool's own writer.
import * as tool from './tool.js';

const [LF, CR, AMPERSAND, LESS_THAN] = [10, 13, 38, 60];
const BLANK = new Set([32, 9, 61, CR]); // a line of these prints a blank card

const ascii = (text) => new TextEncoder().encode(text);

// Where the names begin: after the settings line, where there is one.
const namesStart = (list, facts) =>
  (facts.hasSettingsLine ? list.indexOf(LF) + 1 || list.length : 0);

// The list without the blank lines at its end; the last name keeps its line end.
function trimEmptyEnd(list, facts) {
  const from = namesStart(list, facts);
  let end = list.length;
  while (end > from) {
    const lineStart = Math.max(from, list.lastIndexOf(LF, end - 2) + 1);
    if (!list.subarray(lineStart, end).every((byte) => BLANK.has(byte) || byte === LF)) break;
    end = lineStart;
  }
  return list.slice(0, end);
}

// "&lt;", "&#60;", "&#x3C;" and the like, which a list writes to print "<" and "&" as typed:
// the tool's list check takes these five names, and a number written any way, as no markup.
const REFERENCE = /^&(?:(lt|gt|amp|quot|apos)|#0*(\d{1,7})|#[xX]0*([0-9a-fA-F]{1,6}));/;
const MARKUP_LETTERS = new Set([60, 62, 38, 34, 39, 61]);
function isEscape(text) {
  const [, name, decimal, hex] = REFERENCE.exec(text) ?? [];
  return name !== undefined ||
    MARKUP_LETTERS.has(decimal !== undefined ? Number(decimal) : parseInt(hex, 16));
}

// Every "<" and every "&" of the names written so that they print as typed; the settings
// line, where there is one, as it stands, and escapes already written left alone.
function escapeMarkup(list, facts) {
  const from = namesStart(list, facts);
  const out = Array.from(list.subarray(0, from));
  const latin1 = new TextDecoder('latin1');
  for (let at = from; at < list.length; at++) {
    const byte = list[at];
    if (byte === LESS_THAN) out.push(...ascii('&lt;'));
    else if (byte === AMPERSAND && !isEscape(latin1.decode(list.subarray(at, at + 32)))) {
      out.push(...ascii('&amp;'));
    } else out.push(byte);
  }
  return Uint8Array.from(out);
}

// Each is given the list, the tool's findings, the mending's own value, and the layout in use,
// which a settings line put in front of a name keeps; every settings line is for the layout
// the list's first line means (tool.withSettingsLine).
export const FIXES = {
  declareUtf8: (list, facts, value, inUse) => tool.withSettingsLine(list, 'meant', 'UTF-8', inUse),
  writeCharset: (list, facts, charset, inUse) =>
    tool.withSettingsLine(list, 'meant', charset, inUse),
  // A settings line written as meant ("6=UTF-8"), in place of one whose blanks misled the tool.
  writeSettings: (list, facts, meant, inUse) => tool.withSettingsLine(list, 'meant', 'keep', inUse),
  // A settings line in front of a name that the tool took for one.
  putSettingsLine: (list, facts, charset, inUse) =>
    tool.withSettingsLine(list, 'meant', charset, inUse),
  trimEmptyEnd,
  escapeMarkup,
};
