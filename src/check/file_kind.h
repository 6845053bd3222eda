// What a file chosen as a list is, by the signature its first bytes carry: the files that people
// choose by mistake, whose bytes would print as tags of nonsense.
#pragma once

#include "text/text.h"

enum file_kind {
    plain_text, // no signature: a list, or text of some other kind
    pdf_file,
    picture_file,    // PNG, GIF, JPEG, WebP, HEIC
    workbook_file,   // Excel's .xlsx or OpenDocument's .ods
    document_file,   // Word's .docx, OpenDocument's .odt or .odp, PowerPoint's .pptx, RTF
    archive_file,    // any other ZIP
    old_office_file, // an old Excel or Word file (.xls, .doc), or one saved with a password
    program_file,    // a Windows or Linux program
};

// The kind of file whose first bytes (as many as one read of the file brings) these are.
file_kind kind_of_file(text_view start);
