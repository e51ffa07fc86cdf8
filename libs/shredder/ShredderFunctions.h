// shredder.dll: overwrites one file in passes, moves it to a random name in its
// own folder and deletes it, reporting rows into the caller's report list and
// steps on the caller's progress bar.
#pragma once
#include "fw/framework.h"
#include "ShredderDefs.h"
#include <cstdint>

class CTwisterRandom;

class SHREDDER_API CShredderFunctions
{
public:
    CShredderFunctions();
    ~CShredderFunctions();

    // Overwrites the file passes times (one fill byte per pass, each pass
    // flushed to disk), moves it to a random name and deletes it. Rows: a
    // heading row "50300 (path)", a working row "50305" settled done or
    // failed, and a closing row "50310" (wiped, image 0) or "50320" (not
    // wiped, image 1). A file that exists but cannot be opened for writing
    // gets no row at all. Links and junctions are refused untouched.
    // 1 when the file was overwritten and deleted, 0 otherwise.
    int WipeFile(CString path, int passes, CListCtrl* list, CProgressCtrl* progress);

    // How many random names are tried before the rename gives up.
    enum { RENAME_TRIES = 16 };

protected:
    enum OpenResult {
        OPEN_DONE,    // opened for writing
        OPEN_MISSING, // no such file
        OPEN_REFUSED, // a link, junction or folder: never written through
        OPEN_SKIPPED  // exists but cannot be written: no row at all
    };
    // Opens the file (canonical path) for the overwrite (write-through, never
    // creating it); a link, however written, is refused.
    static OpenResult OpenForWipe(const CString& path, HANDLE* handle);

    // Appends the working row and paints it at once.
    void ReportStart(CListCtrl* list);
    // Settles the working row (the last row) as done or failed.
    void ReportResult(int success, CListCtrl* list);

    // Moves the file to a new random name in its own folder, never onto an
    // existing file: a name that is taken is replaced by another draw, at
    // most RENAME_TRIES times. Returns the new path, or "" when no rename
    // succeeded (the file then still lies under its old path).
    CString RandomRename(CString path, uint32_t seed);

    // One random name of 5 to 12 characters from a-z and 0-9.
    static CString RandomName(CTwisterRandom& random);

    // Ends a call that wiped nothing: working row failed, closing row "50320".
    int Fail(CListCtrl* list);
};
