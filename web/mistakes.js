// The words of the mistakes: what the tool found in a list (the facts of its check), said in
// the user's language, with the list's own lines quoted and, where the box can mend the
// mistake, the mending offered. It judges nothing itself: every verdict is the tool's.
'use strict';

const mistakes = (() => {
  const QUOTED_MOST = 60;
  // The encodings, spelled one way whatever the list wrote.
  const spell = (charset) => (/^utf-8$/i.test(charset) ? 'UTF-8' : 'windows-1250');

  // The bytes of a line of the list (numbered from 1), without its line end.
  function lineBytes(list, number) {
    let start = 0;
    for (let line = 1; line < number && start < list.length; line++) {
      const end = list.indexOf(10, start);
      start = end < 0 ? list.length : end + 1;
    }
    const end = list.indexOf(10, start);
    return list.subarray(start, end < 0 ? list.length : end);
  }

  function decode(bytes, charset) {
    return new TextDecoder(charset).decode(bytes);
  }

  // A line as its writer typed it: UTF-8 where it is, else windows-1250; cut at a carriage
  // return, as the tag is.
  function typed(list, number) {
    const bytes = lineBytes(list, number);
    let text;
    try {
      text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    } catch {
      text = decode(bytes, 'windows-1250');
    }
    return text.split('\r')[0];
  }

  function shortened(text) {
    return text.length > QUOTED_MOST ? `${text.slice(0, QUOTED_MOST)}…` : text;
  }

  const UNSHOWN = new Set(['SCRIPT', 'STYLE', 'TITLE', 'TEMPLATE', 'IFRAME', 'NOEMBED',
    'NOFRAMES', 'NOSCRIPT', 'XMP']);

  // What a browser shows of a name in its cell, read by the browser's own parser into a
  // document that runs and fetches nothing; its line break shown as " / ".
  function shownAs(text) {
    const tagText = text.replace('=', '<br>');
    const parsed = new DOMParser().parseFromString(`<table><tr><th>${tagText}</th></tr></table>`,
      'text/html');
    const walker = parsed.createTreeWalker(parsed.body, NodeFilter.SHOW_ALL);
    let shown = '';
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
      if (node.nodeName === 'BR') shown += ' / ';
      if (node.nodeType === Node.TEXT_NODE && !UNSHOWN.has(node.parentNode.nodeName)) {
        shown += node.data;
      }
    }
    return shown.replace(/\s+/g, ' ').trim();
  }

  // "3", "3, 5 and 8", "3, 5, 8, 9, 12 and 7 more"
  function linesOf({ count, lines }) {
    const more = count - lines.length;
    return words.list(more > 0 ? [...lines.map(words.number), words.t('count.more', { count: more })]
      : lines.map(words.number));
  }

  // The words of each mistake, from the facts of the check and the list: a text, and where the
  // box can mend it, the mending (a name that the page's wiring acts on, and its button's text).
  const SAY = {
    saved_as_utf16: () => words.t('mistake.saved_as_utf16'),
    not_text: (m, facts) => words.t(`mistake.not_text.${facts.kind}`,
      { count: m.count, lines: linesOf(m) }),
    unknown_charset: (m, facts, list) => {
      const line = typed(list, 1);
      const named = line.slice(line.indexOf('=') + 1);
      const said = words.t('mistake.unknown_charset', { line: shortened(line), named });
      const meant = facts.charsetMeant && spell(facts.charsetMeant);
      if (!meant) return [`${said} ${words.t('mistake.unknown_charset.resave')}`];
      const advice = facts.text === 'utf8_letters' ? words.t('mistake.unknown_charset.utf8')
        : words.t('mistake.unknown_charset.write', { meant });
      return [`${said} ${advice}`, { fix: 'writeCharset', value: meant,
        label: words.t('mistake.unknown_charset.fix', { meant }) }];
    },
    utf8_not_declared: (m, facts, list) => {
      const line = m.lines[0];
      const settings = facts.hasSettingsLine ? typed(list, 1) : '';
      const state = !facts.hasSettingsLine || facts.mistakes.name_as_settings_line.count > 0
        ? 'none' : /=\s*$/.test(settings) ? 'empty' : 'other';
      const text = words.t(`mistake.utf8_not_declared.${state}`, {
        settings: shortened(settings), line: words.number(line),
        typed: shortened(typed(list, line)),
        shown: shortened(decode(lineBytes(list, line), 'windows-1250').split('\r')[0]),
      });
      return [text, { fix: 'declareUtf8', label: words.t('mistake.utf8_not_declared.fix') }];
    },
    declared_utf8_not_saved: (m) => words.t('mistake.declared_utf8_not_saved',
      { count: m.count, lines: linesOf(m) }),
    name_as_settings_line: (m, facts, list) => {
      const settings = facts.text === 'not_utf8' ? '4=' : '4=UTF-8';
      return [words.t('mistake.name_as_settings_line', { line: shortened(typed(list, 1)),
        settings }), { fix: 'putSettingsLine', value: settings,
        label: words.t('mistake.name_as_settings_line.fix', { settings }) }];
    },
    list_ends_early: (m, facts) => words.t('mistake.list_ends_early',
      { line: words.number(m.lines[0]), count: facts.linesAfterEnd }),
    markup_in_name: (m, facts, list) => {
      const first = m.lines[0];
      const text = typed(list, first);
      const said = [
        words.t('mistake.markup_in_name', { count: m.count, lines: linesOf(m) }),
        words.t('mistake.markup_in_name.example', { line: words.number(first),
          typed: shortened(text), shown: shortened(shownAs(text)) }),
      ];
      if (facts.worstMarkup !== 'changes_text') {
        said.push(words.t(`mistake.markup_in_name.${facts.worstMarkup}`,
          { line: words.number(facts.worstMarkupLine) }));
      }
      said.push(words.t('mistake.markup_in_name.advice'));
      return said.join(' ');
    },
    line_over_read: (m, facts) => {
      const said = words.t('mistake.line_over_read',
        { count: m.count, lines: linesOf(m), bytes: facts.lineMaxBytes });
      return facts.letterCutLine > 0 ? `${said} ${words.t('mistake.line_over_read.letter',
        { line: words.number(facts.letterCutLine) })}` : said;
    },
    text_after_return: (m) => words.t('mistake.text_after_return',
      { count: m.count, lines: linesOf(m) }),
    empty_tag: (m, facts) => {
      const said = words.t('mistake.empty_tag', { count: m.count, lines: linesOf(m) });
      return m.lines.includes(facts.lastLine) ? [said, { fix: 'trimEmptyEnd',
        label: words.t('mistake.empty_tag.fix') }] : said;
    },
    name_over_lines: (m, facts, list) => {
      const name = typed(list, m.lines[0]);
      const said = [words.t('mistake.name_over_lines', { count: m.count, lines: linesOf(m) })];
      said.push(facts.overTooWide ? words.t('mistake.name_over_lines.wide', { typed: shortened(name) })
        : words.t('mistake.name_over_lines.taken', { typed: shortened(name), count: facts.overLines,
          held: words.number(facts.linesATag) }));
      said.push(words.t(facts.layout === 1 ? 'mistake.name_over_lines.page'
        : 'mistake.name_over_lines.pages'));
      if (facts.overBreak >= 0) {
        said.push(words.t('mistake.name_over_lines.break',
          { suggested: shortened(movedBreak(lineBytes(list, m.lines[0]), facts.overBreak)) }));
      } else {
        said.push(words.t('mistake.name_over_lines.advice'));
      }
      return said.join(' ');
    },
    no_names: () => words.t('mistake.no_names'),
  };

  // The name with its line break moved to the byte at: its first "=" a space, and "=" there.
  function movedBreak(bytes, at) {
    const moved = Uint8Array.from(bytes);
    moved[moved.indexOf(61)] = 32;
    moved[at] = 61;
    return typed(moved, 1);
  }

  // Each mistake the facts hold, in the tool's order: { name, text, fix }.
  function of(facts, list) {
    return Object.entries(facts.mistakes).filter(([, m]) => m.count > 0).map(([name, m]) => {
      const [text, fix = null] = [].concat(SAY[name](m, facts, list));
      return { name, text, fix };
    });
  }

  return { of, typed, spell };
})();
