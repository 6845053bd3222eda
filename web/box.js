// The box and the list: the bytes the box's text makes, and the text the box shows of a list.
// What is typed or pasted is UTF-8 by nature, saved with each line ended CR LF, as Notepad
// saves it; a file is shown as the sheet reads it, and kept as its bytes until it is edited.

// A longer list stays out of the box: Chromium takes a quarter of a second to lay out a box of
// some 5,000 names, and a list of 20,000 would hold the page still for half a second.
export const BOX_MOST_BYTES = 128 * 1024;

export const bytesOf = (text) => new TextEncoder().encode(text.replace(/\r?\n/g, '\r\n'));

// The list's text: UTF-8 where its bytes are, else windows-1250; null where the box would
// grow too slow to show it.
export function textOf(bytes) {
  if (bytes.length > BOX_MOST_BYTES) return null;
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return new TextDecoder('windows-1250').decode(bytes);
  }
}

// Whether the box's text makes these very bytes, so that the box shows the list exactly.
export const showsExactly = (text, bytes) => {
  const made = bytesOf(text);
  return made.length === bytes.length && made.every((byte, at) => byte === bytes[at]);
};
