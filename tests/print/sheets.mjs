// Shared by the print tests, the page tests, the preview and the page benchmark: writing
// sheets with the built tool, the browsers to print them in (Debian's Chromium and Firefox ESR, both driven by
// puppeteer-core, and WebKitGTK, Safari's engine, driven through GTK by webkit.py; each sets
// the sheet in Liberation Serif), and reading the printed PDF back with poppler's pdfinfo and
// pdftotext.
import { execFileSync, spawn } from 'node:child_process';
import { once } from 'node:events';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, dirname, join } from 'node:path';
import { createInterface } from 'node:readline';
import { fileURLToPath } from 'node:url';

export const BROWSERS = {
  chromium: {
    browser: 'chrome',
    executablePath: '/usr/bin/chromium',
    // Without its background traffic, which a closed network refuses.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  },
  firefox: { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', args: [] },
  // Debian's python3-gi and gir1.2-webkit2-4.1 for /usr/bin/python3, under xvfb-run.
  webkit: { executablePath: '/usr/bin/xvfb-run' },
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
  const env = { ...process.env, XDG_CONFIG_HOME: timesWidthsConfigHome() };
  if (engine === 'webkit') return hasPoppler() ? launchWebKit(env) : null;
  let puppeteer;
  try {
    puppeteer = (await import('puppeteer-core')).default;
  } catch {
    return null;
  }
  const { browser, executablePath, args } = BROWSERS[engine];
  if (!existsSync(executablePath) || !hasPoppler()) return null;
  return puppeteer.launch({ browser, executablePath, args, env, headless: true });
}

// The engine's browser, or the test's end, skipped (exit 77), where it cannot run: under CI
// that is a failure.
export async function launchOrSkip(engine) {
  const browser = await launch(engine);
  if (browser) return browser;
  console.log(`skipped: ${BROWSERS[engine].executablePath}, puppeteer-core (npm ci), ` +
              'WebKitGTK (python3-gi, gir1.2-webkit2-4.1) or poppler-utils is missing');
  process.exit(process.env.CI === 'true' ? 1 : 77);
}

// A test's checks: each failure is noted and said at the end, which sets the exit status.
export function checks(name) {
  const failures = [];
  return {
    check(holds, what) {
      if (!holds) failures.push(`${name}: ${what}`);
    },
    get failed() {
      return failures.length > 0;
    },
    finish() {
      for (const failure of failures) console.log(`FAILED: ${failure}`);
      console.log(`${name}: ${failures.length === 0 ? 'all checks passed' : failures.length + ' failed'}`);
      process.exit(failures.length === 0 ? 0 : 1);
    },
  };
}

// Windows sets the sheet, which names no font, in Times New Roman. Liberation Serif (Debian's
// fonts-liberation) has its letter widths, so the sheet wraps and breaks pages as it does
// there; without this Chromium may fall back to DejaVu Sans and Firefox to DejaVu Serif, both
// a quarter wider. A user fontconfig, read before the system's own preferences, says so.
function timesWidthsConfigHome() {
  const home = mkdtempSync(join(tmpdir(), 'korvela-fonts-'));
  const prefer = (family) => `<alias binding="strong"><family>${family}</family>` +
    '<prefer><family>Liberation Serif</family></prefer></alias>';
  mkdirSync(join(home, 'fontconfig'));
  writeFileSync(join(home, 'fontconfig', 'fonts.conf'), '<?xml version="1.0"?>\n' +
    '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">\n<fontconfig>' +
    ['serif', 'Times New Roman', 'Times'].map(prefer).join('') + '</fontconfig>\n');
  return home;
}

// Whether the sheet's tag text is set in Liberation Serif: as wide as in that font, named
// with a monospace fallback so that a missing Liberation Serif cannot pass for it.
export async function setInTimesWidths(page) {
  return page.$eval('th', (cell) => {
    const widthIn = (family) => {
      const probe = document.createElement('span');
      probe.textContent = 'Wanda Žofie Šťastná';
      if (family) probe.style.fontFamily = family;
      cell.appendChild(probe);
      const width = probe.getBoundingClientRect().width;
      probe.remove();
      return width;
    };
    const liberation = widthIn("'Liberation Serif', monospace");
    return widthIn('') === liberation && widthIn('monospace') !== liberation;
  });
}

function hasPoppler() {
  try {
    execFileSync('pdfinfo', ['-v'], { stdio: 'ignore' });
    return true;
  } catch {
    return false;
  }
}

// WebKitGTK's WebDriver has no print command, so webkit.py drives the engine through GTK, and
// this gives it the few calls of puppeteer's page that the tests make. Functions run in the
// page from their source, as puppeteer's do; a file is given to an input through a DataTransfer.
async function launchWebKit(env) {
  try {
    execFileSync('/usr/bin/python3', ['-c', 'import gi; gi.require_version("WebKit2", "4.1")'],
      { stdio: 'ignore' });
  } catch {
    return null;
  }
  if (!existsSync(BROWSERS.webkit.executablePath)) return null;
  const script = join(dirname(fileURLToPath(import.meta.url)), 'webkit.py');
  const driver = spawn(BROWSERS.webkit.executablePath, ['-a', '/usr/bin/python3', script],
    { env, stdio: ['pipe', 'pipe', 'inherit'] });
  const answers = createInterface({ input: driver.stdout })[Symbol.asyncIterator]();
  const ask = async (command) => {
    driver.stdin.write(`${JSON.stringify(command)}\n`);
    const answer = JSON.parse((await answers.next()).value);
    if (answer.error) throw new Error(`WebKitGTK: ${answer.error}`);
    return answer;
  };
  const value = async (expression) => JSON.parse((await ask({
    run: `return JSON.stringify({ value: await (${expression}) });`,
  })).value).value;
  const run = (fn, args) => value(`(${fn})(...${JSON.stringify(args)})`);
  const inPage = (pick) => (selector, fn, ...args) =>
    run(`(selector, ...args) => (${fn})(${pick}, ...args)`, [selector, ...args]);
  const setFiles = (selector, base64, name) => {
    const carried = new DataTransfer();
    carried.items.add(new File([Uint8Array.from(atob(base64), (c) => c.charCodeAt(0))], name));
    const input = document.querySelector(selector);
    input.files = carried.files;
    input.dispatchEvent(new Event('change', { bubbles: true }));
  };
  let address = null;
  const page = {
    goto: async (url) => { address = url; await ask({ open: url }); },
    url: () => address,
    // A string, as puppeteer takes it, is an expression.
    evaluate: (fn, ...args) => (typeof fn === 'string' ? value(fn) : run(fn, args)),
    evaluateOnNewDocument: (fn, ...args) =>
      ask({ preload: `(${fn})(...${JSON.stringify(args)})` }),
    click: (selector) => run((chosen) => document.querySelector(chosen).click(), [selector]),
    select: (selector, value) => run((chosen, option) => {
      const element = document.querySelector(chosen);
      element.value = option;
      element.dispatchEvent(new Event('change', { bubbles: true }));
    }, [selector, value]),
    $eval: inPage('document.querySelector(selector)'),
    $$eval: inPage('[...document.querySelectorAll(selector)]'),
    $: async (selector) => ({
      uploadFile: (file) => run(setFiles,
        [selector, readFileSync(file).toString('base64'), basename(file)]),
    }),
    async waitForFunction(fn, { timeout = 30000 } = {}, ...args) {
      for (const until = Date.now() + timeout; !(await run(fn, args));) {
        if (Date.now() > until) throw new Error(`WebKitGTK: waited ${timeout} ms for ${fn}`);
        await new Promise((done) => setTimeout(done, 50));
      }
    },
    async pdf({ format, margin, scale }) {
      const file = join(mkdtempSync(join(tmpdir(), 'korvela-webkit-')), 'sheet.pdf');
      const margins = Object.fromEntries(Object.entries(margin)
        .filter(([, length]) => length).map(([side, length]) => [side, millimetres(length)]));
      await ask({ print: file, paper: format, margins, scale: scale * 100 });
      return readFileSync(file);
    },
    on() {},
    async close() {},
  };
  return {
    newPage: async () => page,
    async close() {
      driver.stdin.end();
      await once(driver, 'exit');
    },
  };
}

function millimetres(length) {
  const [, number, unit] = /^([\d.]+)(mm|cm|in)$/.exec(length);
  return Number(number) * { mm: 1, cm: 10, in: 25.4 }[unit];
}

// What a print dialog offers, as page.pdf takes it: a margin left out is the dialog's default,
// and sides, where given, are the left and right margins. Fit to page width is Firefox's
// shrink to fit, which over WebDriver BiDi puppeteer sends as the opposite of
// preferCSSPageSize; the sheet has no @page rule, so that setting does nothing else.
export function pdfOptions({ paper, margin, sides = margin, scale = 1, fitToPageWidth = false }) {
  return {
    format: paper,
    margin: { top: margin, bottom: margin, left: sides, right: sides },
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

// The outer borders of a printed tag, left and right, in dots at 300 dpi: the first and the
// last run of ink across the second page (the first where there is one only), the middle
// of the rows that have both. A border cut at the paper's printable edge is the narrower.
export function borderRuns(pdf) {
  const folder = mkdtempSync(join(tmpdir(), 'korvela-borders-'));
  writeFileSync(join(folder, 'sheet.pdf'), pdf);
  const page = pageTexts(pdf).length > 1 ? '2' : '1';
  execFileSync('pdftoppm', ['-f', page, '-l', page, '-r', '300', '-gray', '-singlefile',
    join(folder, 'sheet.pdf'), join(folder, 'page')]);
  const image = readFileSync(join(folder, 'page.pgm'));
  const [, width, height] = image.toString('latin1', 0, 20).split(/\s+/).map(Number);
  const pixels = image.subarray(image.length - width * height);
  const inked = (x, y) => pixels[y * width + x] < 0xF0;
  const runs = [];
  for (let y = Math.floor(height * 0.1); y < height * 0.9; y += 7) {
    let left = 0;
    while (left < width && !inked(left, y)) left++;
    let leftEnd = left;
    while (leftEnd < width && inked(leftEnd, y)) leftEnd++;
    let right = width - 1;
    while (right >= 0 && !inked(right, y)) right--;
    let rightEnd = right;
    while (rightEnd >= 0 && inked(rightEnd, y)) rightEnd--;
    if (left < width / 2 && right > width / 2) runs.push([leftEnd - left, right - rightEnd]);
  }
  runs.sort((a, b) => a[1] - b[1]);
  return runs[Math.floor(runs.length / 2)] || [0, 0];
}

// The longest task the page's main thread runs while work goes on, as a timer sees it.
export async function watchTasks(page) {
  await page.evaluate(() => {
    window.longestTask = 0;
    let last = performance.now();
    clearInterval(window.watching);
    window.watching = setInterval(() => {
      const now = performance.now();
      window.longestTask = Math.max(window.longestTask, now - last);
      last = now;
    }, 10);
  });
}

export const longestTask = (page) => page.evaluate(() => Math.round(window.longestTask));

// Names as events list them: Czech, Polish, German and Hungarian, some hyphenated, some of
// three parts, some with a title or a company after the "=", made by a seeded generator.
const FIRST = ['Jana', 'Petr', 'Marie', 'Kateřina', 'Jaroslav', 'Magdaléna', 'Vlastimil',
  'Zdeňka', 'Přemysl', 'Kristýna', 'Alžběta', 'Bohumil', 'Krzysztof', 'Małgorzata', 'Grzegorz',
  'Agnieszka', 'Wojciech', 'Bartłomiej', 'Przemysław', 'Jędrzej', 'Wolfgang', 'Friederike',
  'Maximilian', 'Hans-Jürgen', 'Anneliese', 'Gottfried', 'Käthe', 'Erzsébet', 'Gyöngyi',
  'László', 'Zsuzsanna', 'Szilveszter', 'Ágnes', 'Győző', 'Eva', 'Jan', 'Ola', 'Uwe', 'Ida'];
const LAST = ['Nováková', 'Dvořáková', 'Procházková', 'Schwarzenbergová', 'Černý', 'Kučerová',
  'Vondráček', 'Hájek', 'Wiśniewska', 'Brzęczyszczykiewicz', 'Kowalczyk', 'Szczepański',
  'Grzegorczyk', 'Żółkiewski', 'Hohenzollern', 'Oberhuber', 'Zimmermann', 'Fürstenberg',
  'Kovács', 'Szőlősi', 'Nagy', 'Hegedűs', 'Szentgyörgyi', 'Sigmaringen', 'Lüdenscheidt', 'Wu',
  'Bém', 'Novák'];
const COMPANY = ['ACME s.r.o.', 'Škoda Auto a.s.', 'Uniwersytet Jagielloński',
  'Technische Universität München', 'Magyar Telekom Nyrt.', 'Vysoké učení technické v Brně',
  'Siemens AG', 'ČEZ', 'Orlen S.A.', 'Krankenhaus Nord', 'Főváros'];
const TITLE = ['Ing.', 'Dr.', 'Mgr.', 'Prof. Dr.', 'doc. Ing.'];

export function generatedNames(count, seed) {
  let state = seed;
  const random = () => { // mulberry32
    state = (state + 0x6D2B79F5) | 0;
    let t = Math.imul(state ^ (state >>> 15), 1 | state);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
  const pick = (from) => from[Math.floor(random() * from.length)];
  const last = () => (random() < 0.3 ? `${pick(LAST)}-${pick(LAST)}` : pick(LAST));
  const FORMS = [
    () => `${pick(FIRST)} ${last()}`, () => `${pick(FIRST)}=${last()}`,
    () => `${pick(FIRST)} ${pick(FIRST)} ${last()}`, () => `${pick(FIRST)} ${last()}=${pick(COMPANY)}`,
    () => `${pick(TITLE)} ${pick(FIRST)} ${last()}`, () => `${pick(TITLE)} ${pick(FIRST)}=${last()}`,
  ];
  return Array.from({ length: count }, () => pick(FORMS)());
}

