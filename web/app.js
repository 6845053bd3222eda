// The page's wiring: where a list comes from (a file chosen or dropped, or the box), the
// tool's runs over it, and what the page shows of them. Every verdict is the tool's
// (tool.js), every word the language's (words.js), the preview and the print preview.js's.
//
// Nothing from a list becomes markup of this page: names are shown as text, and the sheet only
// inside frames that run no script and load nothing.
'use strict';

(() => {
  // A larger list is not put into the box, which grows slow to edit.
  const BOX_MOST_BYTES = 1024 * 1024;
  // Work that takes longer shows that the page is busy.
  const BUSY_AFTER_MS = 300;
  const TYPING_PAUSE_MS = 300;

  const $ = (id) => document.getElementById(id);
  // The list the sheet is made from: a file's bytes as they are, or the box's text.
  let list = { bytes: new Uint8Array(), file: null, inBox: true, layoutWritten: false };
  let facts = null;
  let sheet = null; // the sheet offered for download, while it is the current list's
  let generation = 0; // counts the lists made into sheets: a later one outdates the work of an earlier
  let boxChanged = false; // names typed in the box since it was last filled or saved
  const urls = {};
  let started = false;

  const boxBytes = () => new TextEncoder().encode($('names').value.replace(/\n/g, '\r\n'));

  // A file's text, where the box can hold it unchanged: UTF-8, not too long, and with no byte
  // that the box would lose (a NUL, a 0x1A, a carriage return that ends no line).
  function boxTextOf(bytes) {
    if (bytes.length > BOX_MOST_BYTES) return null;
    let text;
    try {
      text = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(bytes);
    } catch {
      return null;
    }
    return /[\0\x1a]|\r(?!\n)/.test(text) ? null : text;
  }

  function useBox() {
    list = { bytes: boxBytes(), file: null, inBox: true, layoutWritten: false };
    refresh();
  }

  function useFile(name, bytes) {
    // A list the box cannot hold unchanged is not shown in it at all, rather than shown wrong.
    const text = boxTextOf(bytes);
    $('names').value = text === null ? '' : text;
    boxChanged = false;
    list = { bytes, file: name, inBox: text !== null, layoutWritten: false };
    $('file-name').textContent = name;
    refresh();
  }

  async function readFile(file) {
    setState('busy');
    try {
      useFile(file.name, new Uint8Array(await file.arrayBuffer()));
    } catch (error) {
      fail(words.t('error.read', { file: file.name, reason: error.message }));
    }
  }

  function setState(state) {
    document.body.dataset.state = state;
    $('busy').textContent = state === 'busy' ? words.t('state.busy') : '';
    if (state === 'starting') $('summary').textContent = words.t('state.starting');
  }

  const paint = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done)));

  // The tool's runs over the list, its check and its sheet, and what the page shows of them.
  // A long list shows the page busy first; whatever goes wrong is said on the page, in words.
  async function refresh() {
    if (!started) return;
    const mine = ++generation;
    sheet = null;
    $('print').disabled = true;
    setState('busy');
    if (list.bytes.length > 256 * 1024) await paint();
    if (mine !== generation) return;
    try {
      run();
    } catch (error) {
      fail(words.t('error.run', { reason: error.message }));
    }
  }

  function run() {
    facts = tool.check(list.bytes);
    const written = tool.sheet(list.bytes);
    offer('save-list', new Blob([list.bytes], { type: 'text/plain' }));
    showFacts();
    if (written.status !== 0) {
      fail(words.t('error.write'));
      return;
    }
    if (facts.tags === 0) {
      forget('download');
      preview.clear();
      setState('ready');
      return;
    }
    sheet = new Blob(written.chunks, { type: 'text/html' });
    offer('download', sheet);
    try {
      preview.show(list.bytes, facts);
    } catch (error) {
      fail(words.t('error.preview', { reason: error.message }), true);
      return;
    }
    $('print').disabled = false;
    setState('ready');
  }

  function offer(link, blob) {
    if (urls[link]) URL.revokeObjectURL(urls[link]);
    urls[link] = URL.createObjectURL(blob);
    $(link).href = urls[link];
  }

  function forget(link) {
    if (urls[link]) URL.revokeObjectURL(urls[link]);
    urls[link] = null;
    $(link).removeAttribute('href');
  }

  // Sets a text only when it changes, so that a screen reader announces only news.
  function say(element, text) {
    if (element.textContent !== text) element.textContent = text;
  }

  function showSource() {
    const size = words.size(list.bytes.length);
    say($('source'), [
      !list.file ? words.t('source.box')
        : words.t(list.inBox ? 'source.fileInBox' : 'source.fileAsIs', { file: list.file, size }),
      list.layoutWritten ? words.t('source.layoutWritten') : '',
    ].join(' ').trim());
    $('layout').value = facts.layout === 1 ? '4' : String(facts.layout);
  }

  function showSummary() {
    const found = Object.values(facts.mistakes).filter((m) => m.count > 0).length;
    say($('summary'), [
      words.t('summary', {
        tags: words.t('count.tags', { count: facts.tags }),
        pages: words.t('count.pages', { count: facts.pages }),
        layout: words.t(`layout.short.${facts.layout}`),
        encoding: mistakes.spell(facts.charset),
      }),
      found === 0 ? words.t('summary.none') : words.t('summary.found', { count: found }),
    ].join(' '));
  }

  function showFacts() {
    showSource();
    showSummary();
    showMistakes();
  }

  let shownMistakes = '';

  function showMistakes() {
    const found = mistakes.of(facts, list.bytes);
    const key = JSON.stringify(found.map(({ name, text, fix }) => [name, text, fix && list.inBox]));
    if (key === shownMistakes) return;
    shownMistakes = key;
    $('mistakes').replaceChildren(...found.map(({ name, text, fix }) => {
      const item = document.createElement('li');
      item.dataset.mistake = name;
      item.textContent = text;
      if (fix && list.inBox) {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = fix.label;
        button.addEventListener('click', () => FIXES[fix.fix](fix.value));
        item.append(' ', button);
      }
      return item;
    }));
  }

  // Whether the list has a settings line that is one, and not a name taken for one.
  function settingsLineIsSound() {
    return facts.hasSettingsLine && facts.mistakes.name_as_settings_line.count === 0;
  }

  // The settings line that change makes of the list's (its layout digit and its charset), or
  // one put first where the list has none that is sound.
  function newSettingsLine(firstLine, change) {
    if (!settingsLineIsSound()) return { line: change('4', 'UTF-8').join('='), replaces: false };
    const separator = firstLine.indexOf('=');
    const [digit, charset] = change(separator > 0 ? firstLine[separator - 1] : '',
      firstLine.slice(separator + 1));
    return { line: firstLine.slice(0, Math.max(separator - 1, 0)) + digit + '=' + charset,
      replaces: true };
  }

  // Changes the box's settings line where the user sees it.
  function editBoxSettings(change) {
    const box = $('names');
    const text = box.value;
    const firstEnd = text.includes('\n') ? text.indexOf('\n') : text.length;
    const { line, replaces } = newSettingsLine(text.slice(0, firstEnd), change);
    box.value = `${line}\n${replaces ? text.slice(firstEnd + 1) : text}`;
    box.focus();
    box.setSelectionRange(0, line.length);
    boxChanged = true;
    useBox();
  }

  // Changes the settings line of a list that the box cannot show: in its bytes.
  function editFileSettings(change) {
    const bytes = list.bytes;
    const newline = bytes.indexOf(10);
    const firstEnd = newline < 0 ? bytes.length : newline + 1;
    const first = mistakes.typed(bytes, 1);
    const { line, replaces } = newSettingsLine(first, change);
    const head = new TextEncoder().encode(`${line}\r\n`);
    const rest = replaces ? bytes.subarray(firstEnd) : bytes;
    const edited = new Uint8Array(head.length + rest.length);
    edited.set(head);
    edited.set(rest, head.length);
    list = { ...list, bytes: edited, layoutWritten: true };
    refresh();
  }

  function editSettings(change) {
    if (list.inBox) editBoxSettings(change);
    else editFileSettings(change);
  }

  // The mendings a mistake may offer, each where the box holds the list.
  const FIXES = {
    declareUtf8: () => editSettings((digit) => [digit || '4', 'UTF-8']),
    writeCharset: (charset) => editSettings((digit) => [digit || '4', charset]),
    putSettingsLine: (line) => {
      const box = $('names');
      box.value = `${line}\n${box.value}`;
      boxChanged = true;
      useBox();
    },
    trimEmptyEnd: () => {
      const box = $('names');
      box.value = box.value.replace(/(\n[ \t=]*)+$/, '\n');
      boxChanged = true;
      useBox();
    },
  };

  // Says what went wrong, in place of the summary; the sheet is not shown, nor offered unless
  // it was written whole.
  function fail(message, sheetWhole = false) {
    if (!sheetWhole) forget('download');
    sheet = null;
    $('print').disabled = true;
    preview.clear();
    $('summary').textContent = message;
    setState('failed');
  }

  async function printSheet() {
    const printing = sheet;
    const mine = generation;
    if (!printing) return;
    if (!preview.printable(printing)) {
      say($('print-state'), words.t('print.tooLarge', { size: words.size(printing.size) }));
      return;
    }
    $('print').disabled = true;
    const progress = (share) => say($('print-state'), words.t('print.preparing',
      { percent: new Intl.NumberFormat(words.language, { style: 'percent' }).format(share) }));
    try {
      await preview.print(printing, facts.charset, progress, () => mine === generation);
    } finally {
      say($('print-state'), '');
      $('print').disabled = mine !== generation || !sheet;
    }
  }

  function wire() {
    let typing = null;
    $('names').addEventListener('input', () => {
      boxChanged = true;
      clearTimeout(typing);
      $('print').disabled = true;
      typing = setTimeout(useBox, TYPING_PAUSE_MS);
    });
    $('layout').addEventListener('change', () => {
      editSettings((digit, charset) => [$('layout').value, charset]);
    });
    $('file').addEventListener('change', async () => {
      const file = $('file').files[0];
      // Cleared, so that choosing the same file again after editing it reads it again; its
      // name stays on view beside the button.
      if (file) await readFile(file).finally(() => { $('file').value = ''; });
    });
    const carriesFiles = (event) => [...event.dataTransfer.types].includes('Files');
    document.addEventListener('dragover', (event) => {
      if (!carriesFiles(event)) return;
      event.preventDefault();
      document.body.classList.add('dropping');
    });
    document.addEventListener('dragleave', () => document.body.classList.remove('dropping'));
    document.addEventListener('drop', (event) => {
      document.body.classList.remove('dropping');
      if (!carriesFiles(event)) return;
      event.preventDefault();
      if (event.dataTransfer.files[0]) readFile(event.dataTransfer.files[0]);
    });
    $('save-list').addEventListener('click', () => { boxChanged = false; });
    $('print').addEventListener('click', printSheet);
    $('preview-more').addEventListener('click', preview.more);
    addEventListener('resize', preview.fit);
    addEventListener('beforeunload', (event) => {
      if (boxChanged) event.preventDefault();
    });
    $('language').addEventListener('change', () => {
      words.use($('language').value, true);
      showTexts();
      if (facts && document.body.dataset.state !== 'failed') showFacts();
      preview.fit();
    });
    addEventListener('error', (event) => fail(words.t('error.any', { reason: event.message })));
    addEventListener('unhandledrejection', (event) =>
      fail(words.t('error.any', { reason: String(event.reason) })));
  }

  function showTexts() {
    document.title = words.t('page.title');
    words.showAll();
    shownMistakes = '';
    if (!list.file) $('file-name').textContent = words.t('list.noFile');
  }

  function offerLanguages() {
    $('language').replaceChildren(...words.languages().map((language) => {
      const option = document.createElement('option');
      option.value = language;
      option.lang = language;
      option.textContent = TEXTS[language]['language.name'];
      return option;
    }));
    $('language').value = words.language;
  }

  words.start();
  offerLanguages();
  showTexts();
  setState('starting');
  wire();
  tool.start().then(() => {
    started = true;
    useBox();
  }, (error) => fail(words.t('error.start', { reason: String(error) })));
})();
