// A workbook's numbers and dates as the spreadsheet shows them, by each cell's number format,
// not as the count of days a workbook stores for a date. Digits are written as the page's
// language writes them.
'use strict';

const numbers = (() => {
  // Excel's built-in formats by number; 14 and 22 are the reader's own short date.
  const BUILT_IN = { 1: '0', 2: '0.00', 3: '#,##0', 4: '#,##0.00', 9: '0%', 10: '0.00%',
    11: '0.00E+00', 15: 'd-mmm-yy', 16: 'd-mmm', 17: 'mmm-yy', 18: 'h:mm AM/PM',
    19: 'h:mm:ss AM/PM', 20: 'h:mm', 21: 'h:mm:ss', 22: 'h:mm', 37: '#,##0', 38: '#,##0',
    39: '#,##0.00', 40: '#,##0.00', 45: 'mm:ss', 46: '[h]:mm:ss', 47: 'mm:ss', 48: '##0.0E+0' };
  const DATE_PARTS =
    /"[^"]*"|\\.|yyyy|yy|dddd|ddd|dd|d|mmmmm|mmmm|mmm|mm|m|hh|h|ss|s|am\/pm|a\/p|\[h+\]|./gi;

  // General: at most eleven digits, as Excel shows it.
  function general(value) {
    const shown = Math.abs(value) >= 1e11
      ? value.toExponential(5).toUpperCase().replace(/\.?0+E/, 'E')
        .replace(/E([+-])(\d)$/, 'E$10$2')
      : String(Number(value.toPrecision(10)));
    return shown.replace('.', (0.5).toLocaleString(words.language)[1]);
  }

  // The day a workbook's count stands for, in days from 1970 on; day 60 of the 1900 system
  // is a 29 February that never was.
  const dateOf = (days, date1904) =>
    new Date(Math.round((days - (date1904 ? 24107 : days < 60 ? 25568 : 25569)) * 86400) * 1000);
  const named = (date, options) =>
    new Intl.DateTimeFormat(words.language, { ...options, timeZone: 'UTC' }).format(date);
  const two = (number) => String(number).padStart(2, '0');

  function formatDate(days, code, date1904) {
    const date = dateOf(days, date1904);
    const parts = code.match(DATE_PARTS);
    const twelve = /am\/pm|a\/p/i.test(code);
    const hours = date.getUTCHours();
    return parts.map((part, at) => {
      const lower = part.toLowerCase();
      // "m" is minutes after an hour, or before seconds.
      const minutes = /^mm?$/.test(lower) &&
        (/h/i.test(parts.slice(Math.max(0, at - 2), at).join('')) ||
          /^[^a-z]*s/i.test(parts.slice(at + 1).join('')));
      const value = {
        yyyy: date.getUTCFullYear(), yy: two(date.getUTCFullYear() % 100),
        dddd: named(date, { weekday: 'long' }), ddd: named(date, { weekday: 'short' }),
        dd: two(date.getUTCDate()), d: date.getUTCDate(), mmmmm: named(date, { month: 'narrow' }),
        mmmm: named(date, { month: 'long' }), mmm: named(date, { month: 'short' }),
        mm: minutes ? two(date.getUTCMinutes()) : two(date.getUTCMonth() + 1),
        m: minutes ? date.getUTCMinutes() : date.getUTCMonth() + 1,
        hh: two(twelve ? (hours + 11) % 12 + 1 : hours), h: twelve ? (hours + 11) % 12 + 1 : hours,
        ss: two(date.getUTCSeconds()), s: date.getUTCSeconds(),
        'am/pm': hours < 12 ? 'AM' : 'PM', 'a/p': hours < 12 ? 'A' : 'P',
      }[lower];
      if (value !== undefined) return String(value);
      if (/^\[h+\]$/.test(lower)) return String(Math.floor(days * 24));
      return part.replace(/^"|"$|^\\/g, '');
    }).join('');
  }

  function formatNumber(value, code) {
    const number = /[0#?][0#?,]*(\.[0#?]+)?/.exec(code);
    if (!number) return code.replace(/"/g, '');
    const shown = code.includes('%') ? value * 100 : value;
    const decimals = number[1] ? number[1].length - 1 : 0;
    if (/E\+/i.test(code)) return shown.toExponential(decimals).toUpperCase();
    const digits = Math.abs(shown).toLocaleString(words.language, { minimumFractionDigits: decimals,
      maximumFractionDigits: decimals, useGrouping: number[0].includes(',') });
    const [before, after] = [code.slice(0, number.index),
      code.slice(number.index + number[0].length)].map((text) => text.replace(/"|\\/g, ''));
    return `${value < 0 && !code.includes('(') ? '-' : ''}${before}${digits}${after}`;
  }

  // The text a cell of this value shows: formatOf is a built-in format's number or a code.
  function format(value, formatOf, date1904) {
    if (Number.isNaN(value)) return '';
    if (formatOf === 14 || formatOf === 22) {
      const day = named(dateOf(value, date1904),
        { day: 'numeric', month: 'numeric', year: 'numeric' });
      return formatOf === 14 ? day : `${day} ${formatDate(value, 'h:mm', date1904)}`;
    }
    const code = typeof formatOf === 'number' ? BUILT_IN[formatOf] : formatOf;
    if (!code || /^(general|@)$/i.test(code)) return general(value);
    // The section for the value's sign, without colours and locales; "[h]" stays.
    const sections = code.split(/;(?=(?:[^"]*"[^"]*")*[^"]*$)/);
    const section = ((value < 0 && sections[1]) || (value === 0 && sections[2]) || sections[0])
      .replace(/\[(?!h+\])[^\]]*\]/gi, '');
    if (/^general$/i.test(section.trim())) return general(value);
    const isDate = /[dmyhs]/i.test(section.replace(/"[^"]*"|\\./g, ''));
    return isDate ? formatDate(value, section, date1904) : formatNumber(value, section);
  }

  return { format };
})();
