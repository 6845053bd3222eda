// The page's wiring: where a list comes from (a file, a spreadsheet, the box), the tool's runs
// over it, and what the page shows of them: names only as text, the sheet only in frames that
// run no script.
'use strict';

(() => {
  // A longer list stays out of the box, which grows slow to edit.
  const BOX_MOST_BYTES = 1024 * 1024;
  const TYPING_PAUSE_MS = 300;
  const $ = (id) => document.getElementById(id);
  // The list: its bytes, their file, whether the box shows them, the spreadsheet rows it came
  // from.
  let list = { bytes: new Uint8Array(), file: null, inBox: true, layoutWritten: false, rows: 0 };
  let facts = null;
  let sheet = null; // offered for download and print while it is the current list's
  let generation = 0; // a later list outdates the work on an earlier one
  let boxChanged = false; // typed in the box since it was filled or saved
  let started = false;
  let shownMistakes = '';

  const encode = (text) => new TextEncoder().encode(text.replace(/\r?\n/g, '\r\n'));

  // A file's text, where the box can hold it unchanged: UTF-8, not too long, and with no byte
  // that the box would lose (a NUL, a 0x1A, a carriage return that ends no line).
  function boxTextOf(bytes) {
    if (bytes.length > BOX_MOST_BYTES) return null;
    try {
      const text = new TextDecoder('utf-8', { fatal: true, ignoreBOM: true }).decode(bytes);
      return /[\0\x1a]|\r(?!\n)/.test(text) ? null : text;
    } catch {
      return null;
    }
  }

  function use(changes) {
    list = { ...list, layoutWritten: false, ...changes };
    refresh();
  }

  const useBox = () => use({ bytes: encode($('names').value), inBox: true,
    file: list.rows ? list.file : null });

  // Puts text into the box where the user sees it; typed is whether it counts as typing.
  function fillBox(text, typed) {
    $('names').value = text;
    boxChanged = typed;
  }

  function useFile(name, bytes) {
    mapping.close();
    // A list the box cannot hold unchanged is not shown in it at all, rather than shown wrong.
    const text = boxTextOf(bytes);
    fillBox(text || '', false);
    use({ bytes, file: name, inBox: text !== null, rows: 0 });
  }

  function useRows(name, text, rows) {
    const fits = text.length <= BOX_MOST_BYTES;
    fillBox(fits ? text : '', false);
    use({ bytes: encode(text), file: name, inBox: fits, rows });
  }

  // A spreadsheet goes through the mapping step; what cannot be read is said, and the list stays.
  async function importSheets(name, sheets) {
    say($('source'), words.t('import.reading'));
    try {
      await mapping.open(await sheets(), (text, rows) => useRows(name, text, rows),
        () => $('layout').value);
    } catch (error) {
      mapping.close();
      if (!spreadsheet.FAILURES.includes(error.reason)) throw error;
      say($('source'), words.t(`import.${error.reason}`, { sheet: name }));
    }
  }

  async function readFile(file) {
    try {
      const bytes = new Uint8Array(await file.arrayBuffer());
      $('file-name').textContent = file.name;
      // A workbook by the tool's own verdict on its bytes, cells as text by their look.
      if ((spreadsheet.isZip(bytes) && tool.check(bytes).kind === 'workbook_file') ||
          spreadsheet.holdsCellText(file.name, bytes)) {
        await importSheets(file.name, () => spreadsheet.read(file.name, bytes));
      } else {
        useFile(file.name, bytes);
      }
    } catch (error) {
      fail(words.t('error.read', { file: file.name, reason: error.message }));
    }
  }

  // Cells copied from a spreadsheet arrive as lines of tab-separated text.
  function pasteCells(event) {
    const text = event.clipboardData.getData('text/plain');
    if (!spreadsheet.holdsCells(text)) return;
    event.preventDefault();
    importSheets('', async () => [{ name: '', rows: async () => spreadsheet.cellsOf(text) }]);
  }

  function setState(state) {
    document.body.dataset.state = state;
    $('busy').textContent = state === 'busy' ? words.t('busy') : '';
  }

  const paint = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done)));

  // The tool's check and sheet of the list; a long list shows the page busy first.
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
      fail(words.t('error.any', { reason: error.message }));
    }
  }

  function run() {
    facts = tool.check(list.bytes);
    const written = tool.sheet(list.bytes);
    offer('save-list', new Blob([list.bytes]));
    showFacts();
    if (written.status !== 0) return fail(words.t('error.write'));
    // No sheet without tags: nothing to download, show or print.
    offer('download', facts.tags > 0 && new Blob(written.chunks, { type: 'text/html' }));
    if (facts.tags === 0) {
      preview.clear();
      return setState('ready');
    }
    sheet = written.chunks;
    try {
      preview.show(list.bytes, facts);
    } catch (error) {
      return fail(words.t('error.any', { reason: error.message }), true);
    }
    $('print').disabled = false;
    return setState('ready');
  }

  // A link to the blob, or none.
  function offer(link, blob) {
    const old = $(link).href;
    if (old) URL.revokeObjectURL(old);
    if (blob) $(link).href = URL.createObjectURL(blob);
    else $(link).removeAttribute('href');
  }

  // A text set only when it changes, so that a screen reader announces only news.
  function say(element, text) {
    if (element.textContent !== text) element.textContent = text;
  }

  function showFacts() {
    const { file, rows, inBox } = list;
    say($('source'), `${rows ? words.t(file ? 'source.imported' : 'source.pasted',
      { file, rows: words.t('rows', { count: rows }) })
      : !file ? words.t('source.box')
        : words.t(inBox ? 'source.fileInBox' : 'source.fileAsIs',
          { file, size: words.size(list.bytes.length) })
    } ${list.layoutWritten ? words.t('source.layoutWritten') : ''}`.trim());
    $('layout').value = facts.layout === 1 ? '4' : String(facts.layout);
    const found = mistakes.of(facts, list.bytes);
    say($('summary'), `${words.t('summary', {
      tags: words.t('tags', { count: facts.tags }), pages: words.t('pages', { count: facts.pages }),
      encoding: mistakes.spell(facts.charset),
    })} ${found.length ? words.t('summary.found', { count: found.length })
      : words.t('summary.none')}`);
    showMistakes(found);
  }

  function showMistakes(found) {
    const key = JSON.stringify([found, list.inBox]);
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
        button.onclick = () => FIXES[fix.fix](fix.value);
        item.append(' ', button);
      }
      return item;
    }));
  }

  // The settings line that change makes of the list's, from its layout digit and its charset;
  // or one put first where the list has none, or only a name taken for one.
  function newSettingsLine(first, change) {
    if (!facts.hasSettingsLine || facts.mistakes.name_as_settings_line.count > 0) {
      return { line: change('4', 'UTF-8').join('='), replaces: false };
    }
    const at = first.indexOf('=');
    const [digit, charset] = change(at > 0 ? first[at - 1] : '', first.slice(at + 1));
    return { line: `${first.slice(0, Math.max(at - 1, 0))}${digit}=${charset}`, replaces: true };
  }

  // Changes the settings line where the box shows the list, else in the list's bytes.
  function editSettings(change) {
    if (list.inBox) {
      const text = $('names').value;
      const end = text.includes('\n') ? text.indexOf('\n') : text.length;
      const { line, replaces } = newSettingsLine(text.slice(0, end), change);
      editBox(`${line}\n${replaces ? text.slice(end + 1) : text}`);
      $('names').setSelectionRange(0, line.length);
      return;
    }
    const end = list.bytes.indexOf(10) + 1 || list.bytes.length;
    const { line, replaces } = newSettingsLine(mistakes.typed(list.bytes, 1), change);
    const head = encode(`${line}\n`);
    const rest = replaces ? list.bytes.subarray(end) : list.bytes;
    const bytes = new Uint8Array(head.length + rest.length);
    bytes.set(head);
    bytes.set(rest, head.length);
    use({ bytes, layoutWritten: true });
  }

  function editBox(text) {
    fillBox(text, true);
    $('names').focus();
    useBox();
  }

  // The mendings a mistake may offer where the box shows the list.
  const FIXES = {
    declareUtf8: () => editSettings((digit) => [digit || '4', 'UTF-8']),
    writeCharset: (charset) => editSettings((digit) => [digit || '4', charset]),
    putSettingsLine: (line) => editBox(`${line}\n${$('names').value}`),
    trimEmptyEnd: () => editBox($('names').value.replace(/(\n[ \t=]*)+$/, '\n')),
  };

  // What went wrong, in place of the summary; no sheet shown, nor offered unless written whole.
  function fail(message, sheetWhole = false) {
    if (!sheetWhole) offer('download', null);
    sheet = null;
    $('print').disabled = true;
    preview.clear();
    $('summary').textContent = message;
    setState('failed');
  }

  // Prints the sheet offered, and nothing once another list has outdated it.
  async function printSheet() {
    const [printing, mine] = [sheet, generation];
    const note = (text) => say($('print-state'), text);
    if (!preview.printable(printing)) {
      return note(words.t('print.tooLarge', { size: words.size(preview.sizeOf(printing)) }));
    }
    $('print').disabled = true;
    try {
      await preview.print(printing, facts.charset, (share) => note(words.t('print.preparing',
        { percent: new Intl.NumberFormat(words.language, { style: 'percent' }).format(share) })),
      () => mine === generation);
    } finally {
      note('');
      $('print').disabled = mine !== generation || !sheet;
    }
    return undefined;
  }

  function showTexts() {
    document.title = words.t('title');
    words.showAll();
    if (!list.file) $('file-name').textContent = words.t('noFile');
    $('language').replaceChildren(...words.languages().map((language) =>
      Object.assign(new Option(TEXTS[language].language, language), { lang: language })));
    $('language').value = words.language;
    shownMistakes = '';
    if (facts && document.body.dataset.state !== 'failed') showFacts();
    preview.fit();
  }

  function wire() {
    let typing = null;
    $('names').addEventListener('paste', pasteCells);
    $('names').addEventListener('input', () => {
      boxChanged = true;
      $('print').disabled = true;
      clearTimeout(typing);
      typing = setTimeout(useBox, TYPING_PAUSE_MS);
    });
    $('layout').addEventListener('change', () =>
      editSettings((digit, charset) => [$('layout').value, charset]));
    // Cleared, so that the same file chosen again is read again; its name stays beside the button.
    $('file').addEventListener('change', () => {
      const file = $('file').files[0];
      if (file) readFile(file).finally(() => { $('file').value = ''; });
    });
    const carriesFiles = (event) => [...event.dataTransfer.types].includes('Files');
    addEventListener('dragover', (event) => {
      if (!carriesFiles(event)) return;
      event.preventDefault();
      document.body.classList.add('dropping');
    });
    addEventListener('dragleave', () => document.body.classList.remove('dropping'));
    addEventListener('drop', (event) => {
      document.body.classList.remove('dropping');
      if (!carriesFiles(event)) return;
      event.preventDefault();
      if (event.dataTransfer.files[0]) readFile(event.dataTransfer.files[0]);
    });
    $('save-list').addEventListener('click', () => { boxChanged = false; });
    mapping.wire((error) => say($('source'), words.t(`import.${error.reason || 'damaged'}`,
      { sheet: $('mapping-sheet').selectedOptions[0].textContent })));
    $('print').addEventListener('click', printSheet);
    $('preview-more').addEventListener('click', preview.more);
    addEventListener('resize', preview.fit);
    // Typed names would be lost.
    addEventListener('beforeunload', (event) => {
      if (boxChanged) event.preventDefault();
    });
    $('language').addEventListener('change', () => {
      words.use($('language').value, true);
      showTexts();
    });
    addEventListener('error', (event) => fail(words.t('error.any', { reason: event.message })));
    addEventListener('unhandledrejection', (event) =>
      fail(words.t('error.any', { reason: String(event.reason) })));
  }

  words.start();
  showTexts();
  $('summary').textContent = words.t('starting');
  setState('starting');
  wire();
  tool.start().then(() => {
    started = true;
    useBox();
  }, (error) => fail(words.t('error.any', { reason: String(error) })));
})();
