// Words and phrases that the native speakers' review of the page's texts marks as errors
// (../shared/reviews/texts-1.3.0.md), by language: none may come back.
export default {
  en: ['This is no list', 'for want of memory', 'Say UTF-8', 'say so after the =', 'two panels each',
    'in line {line}'],
  cs: ['Tohle', 'zbloudilé', 'nese nastavení', 'ze dvou dílů', 'Na první řádek napište',
    'platí za řádek', 'řez dělí'],
  sk: ['z dvoch dielov', 'zblúdilé', 'nesie nastavenia', 'najskôr pre nedostatok',
    'Na prvý riadok napíšte', 'platí za riadok', 'rez delí', 'vyberte znova'],
  pl: ['z dwóch części', 'Wczytuję arkusz…', 'Wpisz w pierwszym wierszu', 'kosztuje dodatkową',
    'liczy się jako wiersz', 'nie umie wczytać', 'Skoroszyt ma hasło', 'Podaj UTF-8',
    'zabłąkany', 'do druku stąd'],
  hu: ['az beállítási', 'nyomtatódik', 'nyomtatódna', 'nyomtatódjon', 'A(z) {line', 'a(z) {line',
    'Kétrészes', '= jeles', 'beállításoké', 'csomagolja ki', 'hajtogatható', 'végződnie',
    'ezzel: 4=UTF-8', 'üres kártyát nyomtat'],
  de: ['nach das =', 'passt er', 'Ihre erste Zeile', 'Erneut speichern oder als', 'aus zwei Teilen',
    'in die erste Zeile schreiben', 'Dinge zu prüfen', 'Sache zu prüfen', 'als Auszeichnung',
    'Weitere Seiten zeigen', 'es löschen', 'startet ein Skript'],
};
