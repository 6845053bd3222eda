// A spreadsheet brought in: the sheet the mapping step starts at. A workbook often opens on a
// sheet of instructions, or an empty or hidden one; the table is what the user means.
import { holdsTable } from './mapping.js';

// The sheets a user may choose among: the visible ones, [name, at] each.
export const visibleSheets = (workbook) => workbook.sheets.map((sheet, at) => [sheet.name, at])
  .filter(([, at]) => !workbook.sheets[at].hidden);

// The sheet to start at, [at, rows]: the active sheet where it holds a table, else the first
// that does, else the first with rows; never a hidden one. options: the reading's signal and
// progress.
export async function startingSheet(workbook, options) {
  const visible = visibleSheets(workbook).map(([, at]) => at);
  const order = [workbook.active, ...visible].filter((at, index, all) =>
    visible.includes(at) && all.indexOf(at) === index);
  let withRows = null;
  for (const at of order) {
    const rows = await workbook.sheets[at].rows(options);
    if (rows.length > 0 && holdsTable(rows)) return [at, rows];
    if (rows.length > 0 && !withRows) withRows = [at, rows];
  }
  return withRows ?? [order[0] ?? 0, []];
}
