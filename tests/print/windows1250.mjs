// Encodes text as windows-1250, the charset a list without a settings line is saved in.
// Node decodes it but cannot encode it: the table is the decoder's, inverted.
const decoder = new TextDecoder('windows-1250');
const byteOf = new Map();
for (let byte = 0; byte < 256; byte++) {
  byteOf.set(decoder.decode(Uint8Array.of(byte)), byte);
}

export default function encodeWindows1250(text) {
  return Buffer.from([...text].map((char) => {
    if (!byteOf.has(char)) throw new Error(`"${char}" has no windows-1250 byte`);
    return byteOf.get(char);
  }));
}
