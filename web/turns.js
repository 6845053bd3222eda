// Long work shares the page (a spreadsheet read, a sheet written for print): it gives the page
// a turn whenever it has held it for a while, says how far it is, and stops once it has been
// ended.
const TURN_MS = 40;

// A pacer for one reading: pace(share) gives the page a turn where one is due, after telling
// progress the share done (0 to 1); it throws once the signal says the work has ended.
export function pacer({ signal, progress } = {}) {
  let turnStarted = performance.now();
  return async (share) => {
    if (performance.now() - turnStarted < TURN_MS) return;
    signal?.throwIfAborted();
    if (progress) progress(share);
    await new Promise((done) => setTimeout(done));
    signal?.throwIfAborted();
    turnStarted = performance.now();
  };
}
