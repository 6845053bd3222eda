// The page's words in the user's language: each text looked up by its key in that language's
// table (texts/*.js), counts in that language's plural forms and its own way of writing
// numbers and lists. A sentence is always whole in the table, with {names} for what fills it.
'use strict';

const words = (() => {
  const FALLBACK = 'en';
  const KEPT_AS = 'korvela.language';
  let language = FALLBACK;
  let plurals = new Intl.PluralRules(FALLBACK);
  let numbers = new Intl.NumberFormat(FALLBACK);

  // The first of the browser's languages that the page speaks, or English.
  function fromBrowser(preferred) {
    for (const tag of preferred) {
      const base = tag.toLowerCase().split('-')[0];
      if (TEXTS[base]) return base;
    }
    return FALLBACK;
  }

  function kept() {
    try {
      return localStorage.getItem(KEPT_AS);
    } catch {
      return null; // a page opened from disk may have no storage
    }
  }

  function keep(chosen) {
    try {
      localStorage.setItem(KEPT_AS, chosen);
    } catch {
      // Then the choice holds for this opening only.
    }
  }

  function use(chosen, remember = false) {
    language = TEXTS[chosen] ? chosen : FALLBACK;
    plurals = new Intl.PluralRules(language);
    numbers = new Intl.NumberFormat(language);
    document.documentElement.lang = language;
    if (remember) keep(language);
  }

  function start() {
    const saved = kept();
    use(saved && TEXTS[saved] ? saved : fromBrowser(navigator.languages || [navigator.language]));
  }

  function number(value) {
    return numbers.format(value);
  }

  // A file's size in kilobytes or megabytes, as the language writes them.
  function size(bytes) {
    const [value, unit] = bytes >= 1024 * 1024 ? [bytes / 1024 / 1024, 'megabyte']
      : [bytes / 1024, 'kilobyte'];
    return new Intl.NumberFormat(language, { style: 'unit', unit, maximumFractionDigits: 1 })
      .format(value);
  }

  // "3, 5 and 8", as the language joins a list.
  function list(items) {
    return new Intl.ListFormat(language, { type: 'conjunction' }).format(items.map(String));
  }

  function fill(text, values) {
    return text.replace(/\{(\w+)\}/g, (whole, name) => {
      const value = values[name];
      if (value === undefined) return whole;
      return typeof value === 'number' ? number(value) : String(value);
    });
  }

  // The text of key, its {names} filled from values; a text of plural forms takes the form
  // that values.count asks for.
  function t(key, values = {}) {
    let text = TEXTS[language][key];
    if (text === undefined) text = TEXTS[FALLBACK][key];
    if (text === undefined) throw new Error(`no text for ${key}`);
    if (typeof text === 'object') text = text[plurals.select(values.count)] || text.other;
    return fill(text, values);
  }

  // Every element marked data-text="key" shows its text; data-text-placeholder and
  // data-text-title fill those attributes.
  function showAll(root = document) {
    for (const element of root.querySelectorAll('[data-text]')) {
      element.textContent = t(element.dataset.text);
    }
    for (const element of root.querySelectorAll('[data-text-placeholder]')) {
      element.placeholder = t(element.dataset.textPlaceholder);
    }
    for (const element of root.querySelectorAll('[data-text-title]')) {
      element.title = t(element.dataset.textTitle);
    }
  }

  return {
    start, use, t, number, size, list, showAll,
    get language() { return language; },
    languages: () => Object.keys(TEXTS),
  };
})();
