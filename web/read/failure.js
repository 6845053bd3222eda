// Why a spreadsheet gives no rows, for the page to say in the user's words. Whatever else goes
// wrong inside the reader is one of these by the time it leaves it.
export const REASONS = ['encrypted', 'damaged', 'empty', 'too_large', 'not_spreadsheet'];

export function fail(reason) {
  throw Object.assign(new Error(reason), { reason });
}

export const isFailure = (error) => REASONS.includes(error?.reason);
