// A workbook's numbers, dates and truth values as the spreadsheet shows them, by each cell's
// number format, written as the page's language writes them: a date, which a workbook keeps as
// a count of days, as the date; "-1 234,50 Kč" as the accounting format shows it.
import * as words from '../words.js';

// Excel's built-in formats by number. 14 and 22 are the reader's own short date (and time),
// whatever code a producer wrote for them; 5 to 8 and 41 to 44 are the reader's currency.
const BUILT_IN = { 1: '0', 2: '0.00', 3: '#,##0', 4: '#,##0.00', 5: '#,##0', 6: '#,##0',
  7: '#,##0.00', 8: '#,##0.00', 9: '0%', 10: '0.00%', 11: '0.00E+00', 12: '0.0', 13: '0.00',
  15: 'd-mmm-yy', 16: 'd-mmm', 17: 'mmm-yy', 18: 'h:mm AM/PM', 19: 'h:mm:ss AM/PM', 20: 'h:mm',
  21: 'h:mm:ss', 37: '#,##0;-#,##0', 38: '#,##0;-#,##0', 39: '#,##0.00;-#,##0.00',
  40: '#,##0.00;-#,##0.00', 41: '#,##0;-#,##0', 42: '#,##0;-#,##0', 43: '#,##0.00;-#,##0.00',
  44: '#,##0.00;-#,##0.00', 45: 'mm:ss', 46: '[h]:mm:ss', 47: 'mm:ss.0', 48: '##0.0E+0',
  49: '@' };
const SHORT_DATE = 14;
const SHORT_DATE_TIME = 22;
const LOCALE_DATES = new Set([SHORT_DATE, SHORT_DATE_TIME, 27, 28, 29, 30, 31, 34, 35, 36, 50, 51,
  52, 53, 54, 55, 56, 57, 58]);

const DATE_PARTS =
  /"[^"]*"|\\.|_.|\*.|yyyy|yy|e|dddd|ddd|dd|d|mmmmm|mmmm|mmm|mm|m|hh|h|ss|s|0+|am\/pm|a\/p|\[h+\]|\[m+\]|\[s+\]|./gi;

// Intl's formatters cost far more to make than to use: one a language and kind.
const made = new Map();
function formatter(kind, options) {
  const key = `${words.currentLanguage()} ${kind}`;
  if (!made.has(key)) {
    made.set(key, kind.startsWith('date')
      ? new Intl.DateTimeFormat(words.currentLanguage(), { ...options, timeZone: 'UTC' })
      : new Intl.NumberFormat(words.currentLanguage(), options));
  }
  return made.get(key);
}

const decimalPoint = () => formatter('number 0.5', {}).format(0.5)[1];

// General: at most eleven characters, as Excel shows it.
function general(value) {
  const shown = Math.abs(value) >= 1e11 || (value !== 0 && Math.abs(value) < 1e-9)
    ? value.toExponential(5).toUpperCase().replace(/\.?0+E/, 'E')
      .replace(/E([+-])(\d)$/, 'E$10$2')
    : String(Number(value.toPrecision(10)));
  return shown.replace('.', decimalPoint());
}

// The day a workbook's count stands for; day 60 of the 1900 system is a 29 February that
// never was.
const dateOf = (days, date1904) =>
  new Date(Math.round((days - (date1904 ? 24107 : days < 60 ? 25568 : 25569)) * 86400) * 1000);

const two = (number) => String(number).padStart(2, '0');

// What a part of a format shows: a literal's text, or nothing for padding and fills.
function literal(part) {
  if (part[0] === '"') return part.slice(1, -1);
  if (part[0] === '\\') return part[1];
  if (part[0] === '_' || part[0] === '*') return '';
  return part;
}

function formatDate(days, code, date1904) {
  const date = dateOf(days, date1904);
  const parts = code.match(DATE_PARTS) || [];
  const twelve = /am\/pm|a\/p/i.test(code);
  const hours = date.getUTCHours();
  return parts.map((part, at) => {
    const lower = part.toLowerCase();
    // "m" is minutes after an hour, or before seconds.
    const minutes = /^mm?$/.test(lower) &&
      (/h/i.test(parts.slice(Math.max(0, at - 2), at).join('')) ||
        /^[^a-z]*s/i.test(parts.slice(at + 1).join('')));
    const value = {
      yyyy: date.getUTCFullYear(), yy: two(date.getUTCFullYear() % 100), e: date.getUTCFullYear(),
      dddd: () => formatter('date weekday', { weekday: 'long' }).format(date),
      ddd: () => formatter('date weekday short', { weekday: 'short' }).format(date),
      dd: two(date.getUTCDate()), d: date.getUTCDate(),
      mmmmm: () => formatter('date month narrow', { month: 'narrow' }).format(date),
      mmmm: () => formatter('date month', { month: 'long' }).format(date),
      mmm: () => formatter('date month short', { month: 'short' }).format(date),
      mm: minutes ? two(date.getUTCMinutes()) : two(date.getUTCMonth() + 1),
      m: minutes ? date.getUTCMinutes() : date.getUTCMonth() + 1,
      hh: two(twelve ? (hours + 11) % 12 + 1 : hours), h: twelve ? (hours + 11) % 12 + 1 : hours,
      ss: two(date.getUTCSeconds()), s: date.getUTCSeconds(),
      'am/pm': hours < 12 ? 'AM' : 'PM', 'a/p': hours < 12 ? 'A' : 'P',
    }[lower];
    if (value !== undefined) return String(typeof value === 'function' ? value() : value);
    if (/^\[h+\]$/.test(lower)) return String(Math.floor(days * 24));
    if (/^\[m+\]$/.test(lower)) return String(Math.floor(days * 1440));
    if (/^\[s+\]$/.test(lower)) return String(Math.floor(days * 86400));
    if (/^0+$/.test(part) && parts[at - 1] === '.') {
      const fraction = (days * 86400) % 1;
      return String(Math.floor(fraction * 10 ** part.length)).padStart(part.length, '0');
    }
    if (part === '.' && /^0+$/.test(parts[at + 1] || '')) return decimalPoint();
    return literal(part);
  }).join('');
}

const NUMBER = /[0#?][0#?,]*(?:\.[0#?]*)?|\.[0#?]+/;

function formatNumber(value, code) {
  const tokens = code.match(/"[^"]*"|\\.|_.|\*.|General|[^"\\_*]+/gi) || [];
  const plain = tokens.map((token) => (/^["\\_*]/.test(token) ? '' : token)).join('');
  const number = NUMBER.exec(plain);
  let shown = value * (plain.includes('%') ? 100 : 1);
  let digits = '';
  if (number) {
    const [whole, fraction = ''] = number[0].split('.');
    // Commas after the last digit scale by thousands.
    const scale = /,+$/.exec(whole)?.[0].length || 0;
    shown /= 1000 ** scale;
    const decimals = fraction.replace(/[^0#?]/g, '').length;
    if (/E[+-]/i.test(plain)) {
      const [mantissa, exponent] = shown.toExponential(decimals).split('e');
      digits = `${mantissa.replace('.', decimalPoint())}E${exponent[0] === '-' ? '-' : '+'}` +
        exponent.replace(/^[+-]/, '').padStart(2, '0');
    } else {
      const zeros = (text) => (text.match(/0/g) || []).length;
      const options = {
        useGrouping: whole.replace(/,+$/, '').includes(','),
        minimumFractionDigits: zeros(fraction),
        maximumFractionDigits: decimals,
        minimumIntegerDigits: Math.max(1, zeros(whole)),
      };
      digits = formatter(`number ${JSON.stringify(options)}`, options).format(Math.abs(shown));
      // Without a 0 before the point, a number under one shows no digit there: "#" shows 0
      // as nothing, and "#.##" shows 0.5 as ".5".
      if (zeros(whole) === 0 && Math.abs(shown) < 1) digits = digits.replace(/^0/, '');
    }
  }
  // The digits stand where the number's placeholders stood, among the format's literals.
  let placed = false;
  return tokens.map((token) => {
    if (/^general$/i.test(token)) return general(Math.abs(value));
    if (/^["\\_*]/.test(token)) return literal(token);
    const at = number ? token.indexOf(number[0]) : -1;
    if (at < 0 || placed) return token.replace(/[0#?,.]|E[+-]/gi, '');
    placed = true;
    return token.slice(0, at).replace(/[#?]/g, '') + digits +
      token.slice(at + number[0].length).replace(/E[+-]0+|[0#?,.]/gi, '');
  }).join('').replace(/[@]/g, '');
}

// A format's section for the value's sign: [positive, negative, zero], as many as it has;
// whether the sign is the section's own to show.
function sectionFor(value, code) {
  const sections = code.split(/;(?=(?:[^"]*"[^"]*")*[^"]*$)/);
  if (value < 0 && sections.length > 1 && sections[1] !== '') return [sections[1], true];
  if (value === 0 && sections.length > 2 && sections[2] !== '') return [sections[2], true];
  return [sections[0], false];
}

// "[Red]", "[>100]" and "[$-405]" show nothing; "[$€-407]" shows "€" and "[$USD]" "USD", in
// quotes, so that no letter of a currency is read as a day or a month; "[h]" stays.
const withoutBrackets = (section) => section.replace(/\[(?!h+\]|m+\]|s+\])([^\]]*)\]/gi,
  (whole, inside) => {
    const currency = inside[0] === '$' ? inside.slice(1).split('-')[0].replace(/"/g, '') : '';
    return currency && `"${currency}"`;
  });

// Windows' own long date and time, which a format names by its locale code.
const SYSTEM_LONG_DATE = /\[\$-F800\]/i;
const SYSTEM_TIME = /\[\$-F400\]/i;

// The text a cell of this value shows: formatOf is a built-in format's number, or a code.
export function formatValue(value, formatOf, date1904) {
  if (!Number.isFinite(value)) return '';
  const builtIn = typeof formatOf === 'number';
  if (builtIn && LOCALE_DATES.has(formatOf)) {
    const day = formatter('date short', { day: 'numeric', month: 'numeric', year: 'numeric' })
      .format(dateOf(value, date1904));
    return formatOf === SHORT_DATE_TIME ? `${day} ${formatDate(value, 'h:mm', date1904)}` : day;
  }
  const code = builtIn ? BUILT_IN[formatOf] : formatOf;
  if (!code || /^(general|@)$/i.test(code.trim())) return general(value);
  if (SYSTEM_LONG_DATE.test(code)) {
    return formatter('date long', { dateStyle: 'full' }).format(dateOf(value, date1904));
  }
  if (SYSTEM_TIME.test(code)) {
    return formatter('date time', { timeStyle: 'medium' }).format(dateOf(value, date1904));
  }
  const [raw, signShown] = sectionFor(value, code);
  const section = withoutBrackets(raw);
  const isDate = /[dmyhs]/i.test(section.replace(/"[^"]*"|\\.|_.|\*.|general/gi, '')) ||
    /\[[hms]+\]/i.test(section);
  if (isDate) return formatDate(value, section, date1904);
  const shown = formatNumber(value, section);
  return value < 0 && !signShown ? `-${shown}` : shown;
}

// A workbook's truth value, as the spreadsheet shows it in the page's language.
export const formatTruth = (value) => words.t(value ? 'cell.true' : 'cell.false');

// Whether a format, built in or a code, shows a date or a time (for a cell that keeps its
// date as text, such as .xlsx's "d" cells).
export function showsDate(formatOf) {
  if (typeof formatOf === 'number') {
    return LOCALE_DATES.has(formatOf) || (formatOf >= 15 && formatOf <= 22) ||
      (formatOf >= 45 && formatOf <= 47);
  }
  const section = withoutBrackets(sectionFor(1, formatOf)[0]);
  return /[dmyhs]/i.test(section.replace(/"[^"]*"|\\.|_.|\*.|general/gi, ''));
}
