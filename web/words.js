// The page's words in the user's language: each text by its key in the language's table
// (texts/*.js), a count in the language's plural forms, numbers and lists as it writes them.
// A sentence stands whole in the table, with {names} for what fills it.
import TEXTS from './texts/all.js';

const FALLBACK = 'en';
const KEPT_AS = 'korvela.language';
let language = FALLBACK;
let plurals = new Intl.PluralRules(language);

// A page opened from disk may have no storage; the choice then holds for this opening.
function storage(write) {
  try {
    return write ? localStorage.setItem(KEPT_AS, language) : localStorage.getItem(KEPT_AS);
  } catch {
    return null;
  }
}

export function use(chosen, remember = false) {
  language = TEXTS[chosen] ? chosen : FALLBACK;
  plurals = new Intl.PluralRules(language);
  if (globalThis.document) document.documentElement.lang = language;
  if (remember) storage(true);
}

// The language chosen before, or the first of the browser's that the page speaks.
export function start() {
  const preferred = [storage(false), ...(navigator.languages || [navigator.language])];
  use(preferred.map((tag) => tag && tag.toLowerCase().split('-')[0]).find((tag) => TEXTS[tag]));
}

export const number = (value) => value.toLocaleString(language);

// The text of key, its {names} filled from values; of plural forms, the one values.count asks.
// A sentence that begins with what fills it begins with a capital all the same.
export function t(key, values = {}) {
  let text = TEXTS[language][key] ?? TEXTS[FALLBACK][key];
  if (text === undefined) throw new Error(`no text for ${key}`);
  if (typeof text === 'object') {
    text = text[plurals.select(values.count)] ?? text.other;
  }
  const filled = text.replace(/\{(\w+)\}/g, (whole, name) => {
    const value = values[name];
    return value === undefined ? whole : typeof value === 'number' ? number(value) : value;
  });
  return text[0] === '{' ? filled[0].toUpperCase() + filled.slice(1) : filled;
}

// The article a number takes where the language puts one before it: Hungarian's "az" before
// the numbers said with a vowel first (egy, öt, ezer: 1, 5…, 50…, 1000–1999), else "a".
export function article(value) {
  if (language !== 'hu') return '';
  const vowel = value === 1 || String(value)[0] === '5' || (value >= 1000 && value < 2000) ||
    (value >= 1e6 && value < 2e6);
  return vowel ? 'az ' : 'a ';
}

// A file's size: in bytes below a kilobyte, which would round to none, else in kilobytes or
// megabytes.
export function size(bytes) {
  const [value, unit, unitDisplay] = bytes >= 1 << 20 ? [bytes / (1 << 20), 'megabyte', 'short']
    : bytes >= 1024 ? [bytes / 1024, 'kilobyte', 'short'] : [bytes, 'byte', 'long'];
  return value.toLocaleString(language,
    { style: 'unit', unit, unitDisplay, maximumFractionDigits: 1 });
}

// Every element marked data-text="key" shows its text; data-text-placeholder and
// data-text-title fill those attributes.
export function showAll() {
  const marks = [['text', 'textContent'], ['textPlaceholder', 'placeholder'],
    ['textTitle', 'title']];
  for (const [attribute, property] of marks) {
    const marked = `data-${attribute.replace(/[A-Z]/g, (letter) => `-${letter.toLowerCase()}`)}`;
    for (const element of document.querySelectorAll(`[${marked}]`)) {
      element[property] = t(element.dataset[attribute]);
    }
  }
}

// English lists as British English writes them: "3, 5 and 8".
const LIST_LANGUAGE = { en: 'en-GB' };
export const list = (items) =>
  new Intl.ListFormat(LIST_LANGUAGE[language] ?? language, { type: 'conjunction' }).format(items);
export const languages = () => Object.keys(TEXTS);
export const languageName = (tag) => TEXTS[tag].language;
export const currentLanguage = () => language;

