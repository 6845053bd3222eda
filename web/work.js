// The owner of the page's work. Each thing the user does that brings a list (a file chosen or
// dropped, cells pasted, the box typed in, a mapping changed, a mistake mended, the layout
// chosen, an undo) is one piece of work, and beginning one ends the one before: reading,
// unpacking and making the sheet go on only while their piece is the current one, and commit
// nothing once it is not. So the last thing the user did wins, whatever finishes first.
let current = new AbortController();

// Begins a piece of work, ending the one under way; its signal says when it has been ended,
// and signal.throwIfAborted() ends whatever runs for it with an AbortError.
export function begin() {
  current.abort();
  current = new AbortController();
  return current.signal;
}

// The piece under way: the sheet of a list goes on with the work that committed the list.
export const ongoing = () => current.signal;

// Whether an error only says that its work was ended by later work.
export const wasEnded = (error) => error?.name === 'AbortError';
