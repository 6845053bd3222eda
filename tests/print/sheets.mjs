// Shared by the print tests and the preview: writing sheets with the built tool, the browsers
// to print them in (Debian's Chromium and Firefox ESR, both driven by puppeteer-core), and
// reading the printed PDF back with poppler's pdfinfo and pdftotext.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export const BROWSERS = {
  chromium: {
    browser: 'chrome',
    executablePath: '/usr/bin/chromium',
    // Without its background traffic, which a closed network refuses.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  },
  firefox: { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', args: [] },
};

// Runs the tool on the list bytes in a scratch folder; returns the sheet's path.
export function writeSheet(tool, listBytes) {
  const folder = mkdtempSync(join(tmpdir(), 'korvela-print-'));
  writeFileSync(join(folder, 'Korvela.txt'), listBytes);
  execFileSync(tool, [], { cwd: folder, stdio: 'inherit' });
  const sheet = join(folder, 'Korvela.html');
  if (!existsSync(sheet)) throw new Error(`the tool wrote no sheet in ${folder}`);
  return sheet;
}

// The engine's browser, headless; null where it, puppeteer-core or poppler is missing.
export async function launch(engine) {
  let puppeteer;
  try {
    puppeteer = (await import('puppeteer-core')).default;
  } catch {
    return null;
  }
  const { browser, executablePath, args } = BROWSERS[engine];
  if (!existsSync(executablePath) || !hasPoppler()) return null;
  return puppeteer.launch({ browser, executablePath, args, headless: true });
}

function hasPoppler() {
  try {
    execFileSync('pdfinfo', ['-v'], { stdio: 'ignore' });
    return true;
  } catch {
    return false;
  }
}

// What a print dialog offers, as page.pdf takes it. Fit to page width is Firefox's shrink to
// fit, which over WebDriver BiDi puppeteer sends as the opposite of preferCSSPageSize; the
// sheet has no @page rule, so that setting does nothing else.
export function pdfOptions({ paper, margin, scale = 1, fitToPageWidth = false }) {
  return {
    format: paper,
    margin: { top: margin, bottom: margin, left: margin, right: margin },
    scale,
    preferCSSPageSize: !fitToPageWidth,
    displayHeaderFooter: false,
  };
}

// The text of each page of a PDF, as pdftotext reads it.
export function pageTexts(pdf) {
  const folder = mkdtempSync(join(tmpdir(), 'korvela-pdf-'));
  const file = join(folder, 'sheet.pdf');
  writeFileSync(file, pdf);
  const pages = Number(/^Pages:\s+(\d+)/m.exec(execFileSync('pdfinfo', [file]).toString())[1]);
  const texts = [];
  for (let page = 1; page <= pages; page++) {
    texts.push(execFileSync('pdftotext', ['-f', `${page}`, '-l', `${page}`, file, '-']).toString());
  }
  return texts;
}
