// Shared by the print test and the preview: writing sheets with the built tool, and a headless
// Chromium to print them in.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export const CHROMIUM = '/usr/bin/chromium';

// Runs the tool on the list bytes in a scratch folder; returns the sheet's path.
export function writeSheet(tool, listBytes) {
  const folder = mkdtempSync(join(tmpdir(), 'korvela-print-'));
  writeFileSync(join(folder, 'Korvela.txt'), listBytes);
  execFileSync(tool, [], { cwd: folder, stdio: 'inherit' });
  const sheet = join(folder, 'Korvela.html');
  if (!existsSync(sheet)) throw new Error(`the tool wrote no sheet in ${folder}`);
  return sheet;
}

// Chromium without its background traffic, which a closed network refuses; null if missing.
export async function launchChromium() {
  let playwright;
  try {
    playwright = await import('playwright-core');
  } catch {
    return null;
  }
  if (!existsSync(CHROMIUM)) return null;
  return playwright.chromium.launch({
    executablePath: CHROMIUM,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// A4, with the margins a browser's print dialog offers by default.
export const A4 = { format: 'A4', margin: { top: '1cm', bottom: '1cm', left: '1cm', right: '1cm' } };

export function pdfPageCount(pdf) {
  return (pdf.toString('latin1').match(/\/Type\s*\/Page(?!s)/g) || []).length;
}

export { readFileSync };
