// The sheet shown as it prints, and printed, from the tool's own bytes with a style of the
// page's own in front, which the downloaded sheet never carries.
//
// The print is right on A4 and Letter at each browser's own settings: margins of 10 mm where
// the browser takes them from the page, and the sheet at 92%, which Safari's Letter page needs
// (it takes neither the page's margins nor its full height), its thick borders kept at 2 px.
//
// The preview lays out the first pages, and more as the frame is scrolled: each part of the
// sheet goes into the document that the first began, read as it would be there. Only markup
// that hides the tags after it reads otherwise in a part, so the preview ends with its part.
// A page shows whole, on A4-wide paper, with a mark where each printed page begins.
'use strict';

const preview = (() => {
  const PRINT_SCALE = 0.92;
  const PAPER_PX = { width: 210 * 96 / 25.4, height: 297 * 96 / 25.4 };
  const FIRST_PAGES = 3;
  const MORE_PAGES = 10;
  const PRINT_SLICE = 512 * 1024;
  // A larger sheet is printed from the downloaded file: laid out for print here, it would hold
  // the page still for long.
  const PRINT_MOST_BYTES = 8 * 1024 * 1024;
  const PRINT_STYLE = `<style>@page { margin: 10mm }
@media print { html { zoom: ${PRINT_SCALE} }
  table[border="2"] { border-width: ${(2.02 / PRINT_SCALE).toFixed(2)}px } }
</style>`;

  const $ = (id) => document.getElementById(id);
  let shown = null; // the list whose sheet the preview shows, its facts, and the parts written

  const zoomOf = (frame) => Math.min(frame.clientWidth / PAPER_PX.width,
    frame.clientHeight / PAPER_PX.height);

  // A page mark's label, whatever the language puts around the page's number.
  function pageLabel(counter) {
    const [before, after] = words.t('preview.page', { number: '\u0000' }).split('\u0000');
    return `${JSON.stringify(before)} ${counter} ${JSON.stringify(after)}`;
  }

  function previewStyle(frame) {
    const zoom = zoomOf(frame);
    const mark = `display: block; margin-bottom: ${9 / PRINT_SCALE}px; border-top: 3px dashed #c60;
      color: #c60; font: bold ${13 / zoom / PRINT_SCALE}px sans-serif; text-align: left`;
    return `<style id="korvela-preview">@media screen {
html { zoom: ${zoom.toFixed(4)}; background: #888 }
html body { box-sizing: border-box; width: 210mm; min-height: 297mm; margin: 0 auto !important;
  padding: 10mm !important; background: #fff; counter-reset: mark 1 }
center { zoom: ${PRINT_SCALE} }
center::before { content: ${pageLabel('"1"')}; ${mark} }
p[style*="page-break-before"]::before { counter-increment: mark;
  content: ${pageLabel('counter(mark)')}; ${mark} }
}</style>`;
  }

  function decode(chunks, charset) {
    const decoder = new TextDecoder(charset);
    return chunks.map((chunk) => decoder.decode(chunk, { stream: true })).join('') +
      decoder.decode();
  }

  // Adds the next part of the sheet to the frame's document; the first part begins it.
  function writeNextPart() {
    const { facts } = shown;
    const perPage = facts.layout === 6 ? 2 : 1;
    const most = shown.tags === 0 ? facts.layout + (FIRST_PAGES - 1) * perPage
      : MORE_PAGES * perPage;
    const part = tool.sheetPart(shown.list, shown.next, shown.tags, most);
    const text = decode(part.chunks, facts.charset);
    const frameDocument = $('preview').contentDocument;
    if (shown.tags === 0) {
      frameDocument.open();
      frameDocument.write(PRINT_STYLE + previewStyle($('preview')) + text);
      frameDocument.close();
    } else {
      const body = frameDocument.querySelector('center') || frameDocument.body;
      body.insertAdjacentHTML('beforeend', text);
    }
    shown.tags += most;
    const hidden = facts.worstMarkup === 'hides_later_tags' && shown.tags >= facts.worstMarkupTag;
    shown.next = hidden ? null : part.next;
    $('preview-more').hidden = shown.next === null;
  }

  function more() {
    if (shown && shown.next !== null) writeNextPart();
  }

  // More pages once the frame is scrolled within a frame's height of the end; the sheet's
  // lengths are at its zoom, the frame's are not.
  function onScroll() {
    const view = $('preview').contentWindow;
    const end = view.document.documentElement.scrollHeight * zoomOf($('preview'));
    if (view.scrollY + view.innerHeight * 2 >= end) more();
  }

  function show(list, facts) {
    $('preview').hidden = false;
    shown = { list, facts, tags: 0, next: 0 };
    writeNextPart();
    $('preview').contentWindow.addEventListener('scroll', onScroll);
  }

  function clear() {
    shown = null;
    $('preview').hidden = true;
    $('preview-more').hidden = true;
  }

  // The frame's size or the language changed: the page scaled and labelled anew.
  function fit() {
    const style = shown && $('preview').contentDocument.getElementById('korvela-preview');
    if (style) style.outerHTML = previewStyle($('preview'));
  }

  const nextTurn = () => new Promise((done) => setTimeout(done));
  const sizeOf = (chunks) => chunks.reduce((size, chunk) => size + chunk.length, 0);

  // The whole sheet written into the print frame a slice at a time, its share told after each;
  // false when stillWanted() says that it is no longer the sheet to print.
  async function print(chunks, charset, progress, stillWanted) {
    const text = decode(chunks, charset);
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
    if (!stillWanted()) return false;
    api.printWith($('print-frame').contentWindow);
    return true;
  }

  const api = {
    show, clear, more, fit, print, sizeOf,
    printable: (chunks) => sizeOf(chunks) <= PRINT_MOST_BYTES,
    // How the print frame is printed; the page's tests look at it instead.
    printWith: (view) => view.print(),
  };
  return api;
})();
