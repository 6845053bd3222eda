// The page's print of a sheet: the tool's own bytes, with a style of the page's own in front,
// which the downloaded sheet never carries.
//
// It prints right on A4 and Letter at each browser's own settings: margins of 10 mm where the
// browser takes them from the page, and the sheet at 92%, which Safari's Letter page needs (it
// takes neither the page's margins nor its full height), its thick borders kept at 2 px.
//
// The tool's sheet puts two tags on the first page in layout 2 and one on each after, six and
// then two in layout 6. Filled, the print puts as many on every page as on the first, by
// letting only every second (or third) of the sheet's page breaks break.
//
// With each name fitted to its tag, no tag grows, so no table breaks across a page, nor a tag
// between its panels, where the paper holds it whole; a word too wide for its cell even at the
// smallest size breaks inside it, so that it takes no width from its partner. Unfitted, the
// print is the tool's sheet, its grown tags running on over the next page, as the page counts
// them. Where the print shows the folds, the edges a tag folds along are dashed, and the edges
// to cut along stay solid: between the upside-down and the upright panel, and in layout 1
// between all four; in layout 6 across each table's middle. An upside-down cell is turned
// over, its own edges with it.
import { pacer } from './turns.js';

export const PRINT_SCALE = 0.92;
const SLICE = 64 * 1024;
// A larger sheet is printed from the downloaded file: laid out for print here, it would hold
// the page still for long.
export const PRINT_MOST_BYTES = 8 * 1024 * 1024;

const BREAK = 'p[style*="page-break-before"]';
// The sheet's breaks that still break when pages are filled: in layout 2 every second (tags 3,
// 5, 7…, each in a paragraph of its own from tag 3 on), in layout 6 every third (pairs 4, 7…).
const FILLED = { 2: ':nth-of-type(odd)', 6: ':nth-of-type(3n+1)' };

// Where a printed page starts, past the first: the paragraphs whose break breaks.
export const pageStarts = (layout, fill) => `${BREAK}${fill && FILLED[layout] ? FILLED[layout] : ''}`;

// The panels of a tag of layouts 1 and 2, as tables counted among their siblings (the first
// page's tags stand in the body, each later one in a paragraph of its own), and their edges as
// the page shows them: above a fold, a panel's bottom edge is the fold's one dashed line; below
// it, the panel's top edge is left out.
const PANELS = {
  1: [['4n+1', null, 'bottom'], ['4n+2', 'top', 'bottom'], ['4n+3', 'top', 'bottom'],
    ['4n+4', 'top', null]],
  2: [['odd', null, 'bottom'], ['even', 'top', null]],
};
// A tag holds to its next panel where it folds.
const HELD = { 1: ['4n+1', '4n+2', '4n+3'], 2: ['odd'] };
const SHOWN_AS = { top: 'bottom', bottom: 'top' }; // a cell's edges, turned over

const edge = (side, style) => `border-${side}-${style}`;

// Where a panel folds: its table's edge dashed below, gone above; its cell's edge gone, an
// upside-down cell's on its other side.
function panelFolds([at, above, below]) {
  const panel = `table:nth-of-type(${at})`;
  const table = [above && edge(above, 'color: transparent'), below && edge(below, 'style: dashed')];
  const cell = [above, below].filter(Boolean);
  return `${panel} { ${table.filter(Boolean).join('; ')} }
${panel} th:not(.otoc) { ${cell.map((side) => edge(side, 'color: transparent')).join('; ')} }
${panel} th.otoc { ${cell.map((side) => edge(SHOWN_AS[side], 'color: transparent')).join('; ')} }\n`;
}

// In layout 6 the upside-down row folds onto the upright one: the line between them is the
// upside-down cells' edge below (their top, turned over).
function foldStyle(layout) {
  if (layout === 6) {
    return `table[border="1"] tr:first-child > th { ${edge('top', 'style: dashed')} }
table[border="1"] tr:last-child > th { ${edge('top', 'color: transparent')} }\n`;
  }
  return PANELS[layout].map(panelFolds).join('');
}

const fittedStyle = (layout) => `table { break-inside: avoid; page-break-inside: avoid }
th { overflow-wrap: anywhere }\n${(HELD[layout] ?? []).map((at) =>
  `table:nth-of-type(${at}) { break-after: avoid; page-break-after: avoid }\n`).join('')}`;

// The print's style: pages filled (fill), each name fitted (fit), folds shown (folds).
export function printStyle(layout, { fill = false, fit = false, folds = false } = {}) {
  const kept = fill && FILLED[layout]
    ? `${BREAK}:not(${FILLED[layout]}) { page-break-before: auto !important;
  break-before: auto !important }\n` : '';
  // A paragraph's margins would stand between the tags a page holds, and after the last tag
  // some engines print them onto a page of their own.
  return `<style>@page { margin: 10mm }
${BREAK} { margin: 0 }
${fit ? fittedStyle(layout) : ''}${kept}${folds ? foldStyle(layout) : ''}@media print { html { zoom: ${PRINT_SCALE} }
  table[border="2"] { border-width: ${(2.02 / PRINT_SCALE).toFixed(2)}px } }
</style>`;
}

export function decodeSheet(chunks, charset) {
  const decoder = new TextDecoder(charset);
  return chunks.map((chunk) => decoder.decode(chunk, { stream: true })).join('') +
    decoder.decode();
}

export const sizeOf = (chunks) => chunks.reduce((size, chunk) => size + chunk.length, 0);
export const printable = (chunks) => sizeOf(chunks) <= PRINT_MOST_BYTES;

// The sheet written into the frame's document a slice at a time, giving the page a turn
// whenever it has been held for a while, its share told each time; then printed. The frame is
// not displayed while it is written, so that the sheet is laid out once, by the print itself,
// not again at every turn. The signal ends it, unprinted, once the sheet is no longer the one
// to print.
export async function print(frame, chunks, { charset, layout, fill, fit, folds, signal, progress }) {
  const frameDocument = frame.contentDocument;
  const decoder = new TextDecoder(charset);
  const total = sizeOf(chunks);
  const pace = pacer({ signal, progress });
  let done = 0;
  frame.style.display = 'none';
  frameDocument.open();
  frameDocument.write(printStyle(layout, { fill, fit, folds }));
  for (const chunk of chunks) {
    const text = decoder.decode(chunk, { stream: true });
    for (let at = 0; at < text.length; at += SLICE) {
      frameDocument.write(text.slice(at, at + SLICE));
      await pace(done / total);
    }
    done += chunk.length;
  }
  frameDocument.write(decoder.decode());
  frameDocument.close();
  progress(1);
  frame.style.display = '';
  frame.contentWindow.print();
  // The frame is laid out for the screen too once it is displayed: hidden again, it is not.
  frame.style.display = 'none';
}
