// What the page's modules take from a browser and node lacks: an XML DOMParser (xmldom's, made
// as strict as a browser's, whose parser makes an error document of any XML that is not well
// formed), and a language for the words.
import { DOMParser } from '@xmldom/xmldom';

globalThis.DOMParser = class {
  parseFromString(text, type) {
    return new DOMParser({
      onError: (level, message) => {
        if (level !== 'warning') throw new Error(message);
      },
    }).parseFromString(text, type);
  }
};
