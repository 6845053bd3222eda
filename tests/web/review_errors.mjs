// Words and phrases that the native speakers' review of the page's texts marks as errors, by
// language: none may come back.
export default {
  cs: [],
  sk: [],
  pl: [],
  hu: [],
  de: [],
  en: [],
};
