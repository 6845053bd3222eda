// The owner of the page's work. Each thing the user does that brings a list (a file chosen or
// dropped, cells pasted, a key typed in the box, a mapping changed, a mistake mended, the
// layout or a print choice changed, an undo) is one piece of work, and beginning one ends the
// one before: reading, unpacking and making the sheet go on only while their piece is the
// current one, and commit nothing once it is not. So the last thing the user did wins,
// whatever finishes first.
//
// Typing is work like any other: a key begins its piece at once. Its list is committed after a
// pause, so that a long list is not checked at every key; any other work that begins in the
// pause commits the typing first, so that it starts from the box's list and loses nothing.
let current = new AbortController();
let typing = null; // typing not yet committed: { timer, commit }

const end = () => {
  current.abort();
  current = new AbortController();
  return current.signal;
};

// Commits typing that waits for its pause, now; what its commit returns, or null.
export function commitTyping() {
  if (!typing) return null;
  const { timer, commit } = typing;
  typing = null;
  clearTimeout(timer);
  return commit();
}

export const typingWaits = () => typing !== null;

// Begins a piece of work, ending the one under way once any typing is committed; its signal
// says when it has been ended, and signal.throwIfAborted() ends whatever runs for it with an
// AbortError.
export function begin() {
  commitTyping();
  return end();
}

// A key typed: the piece of work it begins, whose list commit(signal) commits after pauseMs
// unless more keys come first. The typing that waited is ended, not committed: the box holds
// it still.
export function type(commit, pauseMs) {
  if (typing) clearTimeout(typing.timer);
  const signal = end();
  typing = { commit: () => commit(signal), timer: setTimeout(commitTyping, pauseMs) };
  return signal;
}

// The piece under way: the sheet of a list goes on with the work that committed the list.
export const ongoing = () => current.signal;

// Whether an error only says that its work was ended by later work.
export const wasEnded = (error) => error?.name === 'AbortError';
