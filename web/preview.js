// The sheet shown as it prints, and printed: both from the tool's own bytes, with a style of
// the page's own put in front, which the downloaded sheet never carries.
//
// The print fits the sheet to A4 and to Letter at each browser's usual settings: margins of
// 10 mm where the browser takes them from the page, and the sheet at 92%, small enough for
// Safari's Letter page, which takes neither the page's margins nor its own full height; its
// thick borders drawn thick enough to stay two pixels at that size.
//
// The preview lays out only the first pages of the sheet, and the next ones as the frame is
// scrolled: each part of the sheet is added to the document that the first part began, as the
// browser would have read it there. Only markup that hides the tags after it reads otherwise
// in a part than in the whole sheet, so the preview stops with the part that holds it. It
// shows each page as it prints, on paper of A4's width, scaled to the frame, and marks where
// each printed page begins.
'use strict';

const preview = (() => {
  const PRINT_SCALE = 0.92;
  const PAPER_MM = { width: 210, height: 297 };
  const MARGIN_MM = 10;
  const PX_PER_MM = 96 / 25.4;
  const FIRST_PAGES = 3;
  const MORE_PAGES = 10;
  const PRINT_SLICE = 512 * 1024;
  // Larger sheets are printed from the downloaded file: laid out for print whole, they would
  // hold the page still for long.
  const PRINT_MOST_BYTES = 8 * 1024 * 1024;

  const PRINT_STYLE = `<style>@page { margin: ${MARGIN_MM}mm }
@media print { html { zoom: ${PRINT_SCALE} } table[border="2"] { border-width: ${(2.02 / PRINT_SCALE).toFixed(2)}px } }
</style>`;

  const $ = (id) => document.getElementById(id);
  let shown = null; // what the preview frame shows: the list, its facts, the parts written

  // Each printed page of the layout: the first holds as many tags as the layout's number, every
  // later one a tag, or in two columns a pair.
  function tagsOnPages(layout, pages) {
    return layout + (pages - 1) * (layout === 6 ? 2 : 1);
  }

  // The label of a page mark, whatever the language puts around its number.
  function pageLabel() {
    const [before, after = ''] = words.t('preview.page', { number: '\u0000' }).split('\u0000');
    const quote = (text) => JSON.stringify(text);
    return `${quote(before)} counter(korvela-page) ${quote(after)}`;
  }

  // Scaled so that a whole page, paper and all, shows in the frame at once.
  function zoomOf(frame) {
    const paper = { width: PAPER_MM.width * PX_PER_MM, height: PAPER_MM.height * PX_PER_MM };
    return Math.min(frame.clientWidth / paper.width, frame.clientHeight / paper.height);
  }

  function previewStyle(frame) {
    const zoom = zoomOf(frame);
    const mark = `display: block; margin: 0 0 ${8 / PRINT_SCALE}px; border-top: 3px dashed #c60;
      color: #c60; font: bold ${13 / zoom / PRINT_SCALE}px sans-serif; text-align: left;`;
    return `<style id="korvela-preview">@media screen {
html { zoom: ${zoom.toFixed(4)}; background: #888; }
html body { box-sizing: border-box; width: ${PAPER_MM.width}mm; min-height: ${PAPER_MM.height}mm;
  margin: 0 auto !important; padding: ${MARGIN_MM}mm !important; background: #fff;
  counter-reset: korvela-page 1; }
center { zoom: ${PRINT_SCALE}; }
center::before { content: ${pageLabel().replace('counter(korvela-page)', '"1"')}; ${mark} }
p[style*="page-break-before"]::before { counter-increment: korvela-page;
  content: ${pageLabel()}; ${mark} }
}</style>`;
  }

  function decode(chunks, charset) {
    const decoder = new TextDecoder(charset);
    return chunks.map((chunk) => decoder.decode(chunk, { stream: true })).join('') + decoder.decode();
  }

  // Adds the next part of the sheet to the frame's document; the first part begins it.
  function writeNextPart() {
    const { facts } = shown;
    const most = shown.parts === 0 ? tagsOnPages(facts.layout, FIRST_PAGES)
      : MORE_PAGES * (facts.layout === 6 ? 2 : 1);
    const part = tool.sheetPart(shown.list, shown.next, shown.tags, most);
    const text = decode(part.chunks, facts.charset);
    const frameDocument = $('preview').contentDocument;
    if (shown.parts === 0) {
      frameDocument.open();
      frameDocument.write(PRINT_STYLE + previewStyle($('preview')) + text);
      frameDocument.close();
    } else {
      const body = frameDocument.querySelector('center') || frameDocument.body;
      body.insertAdjacentHTML('beforeend', text);
    }
    shown.parts += 1;
    shown.tags += most;
    const hidden = facts.worstMarkup === 'hides_later_tags' && shown.tags >= facts.worstMarkupTag;
    shown.next = hidden ? null : part.next;
    $('preview-more').hidden = shown.next === null;
  }

  // More pages once the frame is scrolled within a frame's height of the last ones; the
  // sheet's own lengths are at its zoom, the frame's are not.
  function nearTheEnd() {
    const view = $('preview').contentWindow;
    const height = view.document.documentElement.scrollHeight * zoomOf($('preview'));
    return view.scrollY + view.innerHeight * 2 >= height;
  }

  function more() {
    if (shown && shown.next !== null) writeNextPart();
  }

  function onScroll() {
    if (shown && shown.next !== null && nearTheEnd()) more();
  }

  // Shows the first pages of the sheet of this list.
  function show(list, facts) {
    const frame = $('preview');
    shown = { list, facts, parts: 0, tags: 0, next: 0 };
    frame.hidden = false;
    writeNextPart();
    frame.contentWindow.addEventListener('scroll', onScroll);
  }

  function clear() {
    shown = null;
    $('preview').hidden = true;
    const frameDocument = $('preview').contentDocument;
    frameDocument.open();
    frameDocument.close();
    $('preview-more').hidden = true;
  }

  // The frame's size changed: the page again scaled to it.
  function fit() {
    const style = shown && $('preview').contentDocument.getElementById('korvela-preview');
    if (style) style.outerHTML = previewStyle($('preview'));
  }

  const nextTurn = () => new Promise((done) => setTimeout(done));

  // The whole sheet written into the print frame a slice at a time, each slice's share told;
  // false when stillWanted() says that it is no longer the sheet to print.
  async function preparePrint(sheet, charset, progress, stillWanted) {
    const text = new TextDecoder(charset).decode(await sheet.arrayBuffer());
    const frameDocument = $('print-frame').contentDocument;
    frameDocument.open();
    frameDocument.write(PRINT_STYLE);
    for (let at = 0; at < text.length; at += PRINT_SLICE) {
      if (!stillWanted()) return false;
      frameDocument.write(text.slice(at, at + PRINT_SLICE));
      progress(Math.min(1, (at + PRINT_SLICE) / text.length));
      await nextTurn();
    }
    frameDocument.close();
    return stillWanted();
  }

  // Prints the whole sheet; how the print frame is printed, the page's tests may replace.
  async function print(sheet, charset, progress, stillWanted) {
    if (!(await preparePrint(sheet, charset, progress, stillWanted))) return false;
    api.printWith($('print-frame').contentWindow);
    return true;
  }

  const api = {
    show, clear, more, fit, print,
    printWith: (view) => view.print(),
    printable: (sheet) => sheet.size <= PRINT_MOST_BYTES,
  };
  return api;
})();
