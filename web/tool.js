// The tool's own code, compiled to WebAssembly (korvela_web.cpp), and the only way to it: a
// list's bytes go in; what the tool found in the list, the sheet it writes, and a list with
// the settings line asked for come out.
let module = null;

// Each call is given the list, and takes the sheet's chunks back.
function over(list, call) {
  Object.assign(module, { list, sheet: [] });
  try {
    return call();
  } finally {
    Object.assign(module, { list: null, sheet: null });
  }
}

// The module from its factory, korvela_web.mjs's default export, and its WebAssembly's bytes.
export async function start(korvelaModule, wasm) {
  module = await korvelaModule({ wasm }).ready;
}

// The WebAssembly as the page inlines it: deflated, in Base64.
export function unpack(packed) {
  const bytes = Uint8Array.from(atob(packed), (letter) => letter.charCodeAt(0));
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
  return new Response(stream).arrayBuffer().then((buffer) => new Uint8Array(buffer));
}

// How the page's print sets the tags: { fit, secondSmaller }, each name sized to fit its tag,
// its second line smaller; the tool's own sheet sets neither.
export const TOOLS_SHEET = { fit: false, secondSmaller: false };
const sizing = ({ fit, secondSmaller }) => [fit ? 1 : 0, fit && secondSmaller ? 1 : 0];

// The settings the tool reads, the tags and the pages of the print, the mistakes.
export const check = (list, print = TOOLS_SHEET) => over(list, () => {
  module._korvela_check_list(...sizing(print));
  if (module.checked.failed) throw new Error(module.checked.failed);
  return module.checked;
});

// The whole sheet, as the tool writes it or as the print sets its tags, and the run's exit
// status (0: whole).
export const sheet = (list, print = TOOLS_SHEET) => over(list, () =>
  ({ status: module._korvela_write_sheet(...sizing(print)), chunks: module.sheet }));

// A part of the sheet: the tags from firstTag on, most of them, read from the list's byte
// where the part before ended (0 for the first, which brings the head). next: where the next
// part starts, null after the last, which brings the closing line.
export const sheetPart = (list, from, firstTag, most, print = TOOLS_SHEET) => over(list, () => {
  const next = module._korvela_write_sheet_part(from, firstTag, most, ...sizing(print));
  if (next === -2) throw new Error('the sheet could not be written');
  return { chunks: module.sheet, next: next < 0 ? null : next };
});

const CHARSETS = { keep: 0, 'UTF-8': 1, 'windows-1250': 2 };

// The list with a settings line for this layout (1, 2 or 6, or 'meant': the one its first line
// means, or inUse where that line is a name) and charset ('UTF-8', 'windows-1250', or 'keep'
// for the one its first line means), written where the tool reads it: in place of the list's
// settings line, or in front of a list without one. The one way the page writes a settings
// line.
export const withSettingsLine = (list, layout, charset = 'keep', inUse = 1) => over(list, () => {
  const replaced = module._korvela_write_settings_line(layout === 'meant' ? 0 : layout,
    CHARSETS[charset], inUse);
  const line = module.settingsLine;
  const rest = list.subarray(replaced);
  const bytes = new Uint8Array(line.length + rest.length);
  bytes.set(line);
  bytes.set(rest, line.length);
  return bytes;
});

// A text, such as a spreadsheet's cell, written so that a browser shows it as it stands: each
// "<" and "&" that makes markup as the check reads it written "&lt;" and "&amp;". Most text
// holds neither, and is its own.
export function asText(text) {
  if (!/[<&]/.test(text)) return text;
  return over(new TextEncoder().encode(text), () => {
    module._korvela_write_as_text();
    return new TextDecoder().decode(concat(module.sheet));
  });
}

const concat = (chunks) => {
  const bytes = new Uint8Array(chunks.reduce((size, chunk) => size + chunk.length, 0));
  chunks.reduce((at, chunk) => { bytes.set(chunk, at); return at + chunk.length; }, 0);
  return bytes;
};
