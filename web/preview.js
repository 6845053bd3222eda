// The sheet shown as it prints, from the tool's own bytes with the print's style in front
// (print.js), which the downloaded sheet never carries.
//
// The preview lays out the first pages, and more as the frame is scrolled: each part of the
// sheet goes into the document that the first began, read as it would be there. Only markup
// that hides the tags after it reads otherwise in a part, so the preview ends with its part.
// A page shows whole, on A4-wide paper, with a mark where each printed page begins.
import { PRINT_SCALE, decodeSheet, pageStarts, printStyle } from './print.js';
import * as tool from './tool.js';
import * as words from './words.js';

const PAPER_PX = { width: 210 * 96 / 25.4, height: 297 * 96 / 25.4 };
const FIRST_PAGES = 3;
const MORE_PAGES = 10;

const $ = (id) => document.getElementById(id);
let shown = null; // the list whose sheet the preview shows, its facts, and the parts written

const zoomOf = (frame) => Math.min(frame.clientWidth / PAPER_PX.width,
  frame.clientHeight / PAPER_PX.height);

// A page mark's label, whatever the language puts around the page's number.
function pageLabel(counter) {
  const [before, after] = words.t('preview.page', { number: '\u0000' }).split('\u0000');
  return `${JSON.stringify(before)} ${counter} ${JSON.stringify(after)}`;
}

// The marks stand where printed pages begin, which filling pages makes fewer.
function previewStyle(frame, layout, fill) {
  const zoom = zoomOf(frame);
  const mark = `display: block; margin-bottom: ${9 / PRINT_SCALE}px; border-top: 3px dashed #c60;
    color: #c60; font: bold ${13 / zoom / PRINT_SCALE}px sans-serif; text-align: left`;
  return `<style id="korvela-preview">@media screen {
html { zoom: ${zoom.toFixed(4)}; background: #888 }
html body { box-sizing: border-box; width: 210mm; min-height: 297mm; margin: 0 auto !important;
padding: 10mm !important; background: #fff; counter-reset: mark 1 }
center { zoom: ${PRINT_SCALE} }
center::before { content: ${pageLabel('"1"')}; ${mark} }
${pageStarts(layout, fill)}::before { counter-increment: mark;
content: ${pageLabel('counter(mark)')}; ${mark} }
}</style>`;
}

// Adds the next part of the sheet to the frame's document; the first part begins it.
function writeNextPart() {
  const { facts } = shown;
  const perPage = facts.layout === 6 ? 2 : 1;
  const most = shown.tags === 0 ? facts.layout + (FIRST_PAGES - 1) * perPage
    : MORE_PAGES * perPage;
  const part = tool.sheetPart(shown.list, shown.next, shown.tags, most, shown.print);
  const text = decodeSheet(part.chunks, facts.charset);
  const frameDocument = $('preview').contentDocument;
  if (shown.tags === 0) {
    frameDocument.open();
    frameDocument.write(printStyle(facts.layout, shown.print) +
      previewStyle($('preview'), facts.layout, shown.print.fill) + text);
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

export function more() {
  if (shown && shown.next !== null) writeNextPart();
}

// More pages once the frame is scrolled within a frame's height of the end; the sheet's
// lengths are at its zoom, the frame's are not.
function onScroll() {
  const view = $('preview').contentWindow;
  const end = view.document.documentElement.scrollHeight * zoomOf($('preview'));
  if (view.scrollY + view.innerHeight * 2 >= end) more();
}

// Shows the sheet of the list as the print sets it: its pages filled or as the tool's sheet has
// them, each name fitted to its tag or not, its folds shown or not (print.js).
export function show(list, facts, print) {
  $('preview').hidden = false;
  shown = { list, facts, print, tags: 0, next: 0 };
  writeNextPart();
  $('preview').contentWindow.addEventListener('scroll', onScroll);
}

export function clear() {
  shown = null;
  $('preview').hidden = true;
  $('preview-more').hidden = true;
}

// The frame's size or the language changed: the page scaled and labelled anew.
export function fit() {
  const style = shown && $('preview').contentDocument.getElementById('korvela-preview');
  if (style) style.outerHTML = previewStyle($('preview'), shown.facts.layout, shown.print.fill);
}
