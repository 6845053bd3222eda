// Packs the tool's WebAssembly for the page: deflated and written as Base64 into a module of
// one string, which the page unpacks with the browser's own DecompressionStream. Inlined
// deflated, it takes half the room it takes as emscripten inlines it.
//
// usage: node pack_wasm.mjs korvela_web.wasm packed_wasm.js
import { readFileSync, writeFileSync } from 'node:fs';
import { deflateRawSync } from 'node:zlib';

const [wasm, output] = process.argv.slice(2);
const packed = deflateRawSync(readFileSync(wasm), { level: 9 }).toString('base64');
writeFileSync(output, `export default '${packed}';\n`);
