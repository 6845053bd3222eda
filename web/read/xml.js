// XML as spreadsheets write it. A workbook's small parts (its content types, relationships,
// workbook and styles) are parsed whole by the browser's DOMParser and read by their elements'
// local names, whatever prefixes their producer chose. Sheet data, which can run to hundreds
// of megabytes, is read by the patterns below instead: exact for what XML allows there, and a
// few thousand rows at a turn.
import { fail } from './failure.js';

// The document of an XML text; a text that is no XML is a damaged part.
export function parseXml(text) {
  let document;
  try {
    document = new DOMParser().parseFromString(text, 'application/xml');
  } catch {
    return fail('damaged');
  }
  if (!document?.documentElement ||
    document.getElementsByTagNameNS('*', 'parsererror').length > 0) fail('damaged');
  return document;
}

// The descendants of node with this local name, in any namespace.
export const elements = (node, name) => [...node.getElementsByTagNameNS('*', name)];

// An attribute by its local name, in any namespace, or undefined: "r:id" and "id" alike.
export function attributeOf(element, name) {
  for (let at = 0; at < element.attributes.length; at++) {
    const attribute = element.attributes.item(at);
    if ((attribute.localName || attribute.name) === name) return attribute.value;
  }
  return undefined;
}

const NAMED = { amp: '&', lt: '<', gt: '>', quot: '"', apos: "'" };

function character(reference) {
  if (reference[0] !== '#') return NAMED[reference] ?? fail('damaged');
  const code = /^#x[0-9a-f]+$/i.test(reference) ? parseInt(reference.slice(2), 16)
    : /^#[0-9]+$/.test(reference) ? parseInt(reference.slice(1), 10) : NaN;
  const allowed = code === 0x9 || code === 0xA || code === 0xD ||
    (code >= 0x20 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF));
  return allowed ? String.fromCodePoint(code) : fail('damaged');
}

// Text between tags: its character references read, a CDATA section as it stands.
export function textOf(raw) {
  if (!raw.includes('&') && !raw.includes('<![CDATA[')) return raw;
  return raw.replace(/<!\[CDATA\[([\s\S]*?)\]\]>|&([^;&<]*);|&/g, (whole, cdata, reference) => {
    if (cdata !== undefined) return cdata;
    return reference === undefined ? fail('damaged') : character(reference);
  });
}

// The attributes of a tag's text, by local name, in either quotes: { name: value }.
export function attributesOf(raw) {
  const found = {};
  for (const [, name, double, single] of raw.matchAll(
    /(?:[\w.-]+:)?([\w.-]+)\s*=\s*(?:"([^"]*)"|'([^']*)')/g)) {
    found[name] = textOf(double ?? single);
  }
  return found;
}

// Tags of the names given (local names, any prefix), each as [whole, closing "/", name,
// attributes, self-closing "/"], and CDATA sections, whose text stands in the fifth place.
export const tagsNamed = (names) => new RegExp(
  `<(/?)(?:[\\w.-]+:)?(${names.join('|')})(?=[\\s/>])([^>]*?)(/?)>|<!\\[CDATA\\[([\\s\\S]*?)\\]\\]>`,
  'g');
