// The run: the settings pass, then the writing pass, and the exit status.
#pragma once

// Exit statuses. Only run_ok means the whole list was read and the whole document written.
enum run_status {
    run_ok = 0,
    run_list_missing = 1,      // no document was created or changed
    run_document_failed = 2,   // the document could not be created
    run_list_read_failed = 3,  // the list failed part-way; the document was still completed
    run_document_write_failed = 4, // a write or the close of the document failed
};

// Reads "Korvela.txt" from the current folder and writes "Korvela.html" beside it.
run_status run();
