#include "ShredderFunctions.h"
#include "fw/handle.h"
#include "TwisterRandom.h"
#include "ShredderTestSeam.h"
#include "pirt.h"
#include "pathlayer.h"
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {
// Characters of the random names: index 0-25 the letters, 26-35 the digits.
const char kNameAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";

// One chunk of the overwrite; the buffer is filled once per pass. Larger
// chunks save little on a file the system holds in its cache, but on one it
// does not they can make the system build large cache pages first, which
// costs several times the whole pass; 64 KiB is quick either way.
const DWORD kChunkSize = 64 * 1024;

// Fill bytes are 0..254.
const int kFillValues = 255;

// The file calls of a wipe; replaced only by tests.
ShredderFileCalls g_calls = {nullptr, nullptr, nullptr, nullptr};

HANDLE OpenFile(LPCSTR path, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    return (g_calls.open != nullptr ? g_calls.open : ::CreateFileA)(path, access, share, nullptr, disposition, flags,
                                                                    nullptr);
}
BOOL FileSize(HANDLE file, PLARGE_INTEGER size)
{
    return (g_calls.size != nullptr ? g_calls.size : ::GetFileSizeEx)(file, size);
}
BOOL Flush(HANDLE file) { return (g_calls.flush != nullptr ? g_calls.flush : ::FlushFileBuffers)(file); }

CString GeneralText(const char* key) { return GetLngString(CString("General"), CString(key)); }

// Overwrites the first size bytes of the file with the fill byte and makes
// sure they reach the disk (write-through alone is not honoured everywhere).
bool OverwritePass(HANDLE file, LONGLONG size, unsigned char* buffer, unsigned char fill)
{
    memset(buffer, fill, kChunkSize);
    LARGE_INTEGER start;
    start.QuadPart = 0;
    if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return false;
    BOOL(WINAPI * write)
    (HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) = g_calls.write != nullptr ? g_calls.write : ::WriteFile;
    LONGLONG remaining = size;
    while (remaining > 0) {
        DWORD chunk = remaining < (LONGLONG)kChunkSize ? (DWORD)remaining : kChunkSize;
        DWORD written = 0;
        if (!write(file, buffer, chunk, &written, nullptr) || written != chunk)
            return false;
        remaining -= chunk;
    }
    return Flush(file) != FALSE;
}
} // namespace

ShredderFileCalls SetShredderFileCalls(const ShredderFileCalls* calls)
{
    ShredderFileCalls previous = g_calls;
    ShredderFileCalls none = {nullptr, nullptr, nullptr, nullptr};
    g_calls = calls != nullptr ? *calls : none;
    return previous;
}

CShredderFunctions::OpenResult CShredderFunctions::OpenForWipe(const CString& path, HANDLE* handle)
{
    *handle = INVALID_HANDLE_VALUE;
    // A link or junction, however written: writing would reach its target.
    if (IsLinkPath(path))
        return OPEN_REFUSED;
    if (!FileExists(path))
        return OPEN_MISSING;

    DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return OPEN_MISSING;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return OPEN_SKIPPED;

    // OPEN_REPARSE_POINT: should the path have become a link since the test
    // above, the link itself is opened (and refused below), never its target.
    CHandle opened(OpenFile(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                            FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT));
    if (opened == INVALID_HANDLE_VALUE) {
        DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return OPEN_MISSING; // vanished since the test
        return OPEN_SKIPPED;
    }

    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileInformationByHandle(opened, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)))
        return OPEN_REFUSED;
    *handle = opened.Detach();
    return OPEN_DONE;
}

CShredderFunctions::CShredderFunctions() {}

CShredderFunctions::~CShredderFunctions() { ShowPendingReportRows(); }

int CShredderFunctions::WipeFile(CString path, int passes, CListCtrl* list, CProgressCtrl* progress)
{
    ASSERT(list != nullptr);
    ASSERT(progress != nullptr);

    // The file is judged, overwritten, renamed and deleted in its canonical
    // form; the rows show it as the caller wrote it.
    const CString canonical = CanonicalPath(path);
    HANDLE handle = INVALID_HANDLE_VALUE;
    OpenResult opened = OpenForWipe(canonical, &handle);
    if (opened == OPEN_SKIPPED)
        return 0; // cannot be written (read-only, locked, no rights): no row
    CHandle file(handle);

    AppendReportRow(list, GeneralText("50300") + " (" + path + ")", REPORT_IMAGE_DONE);
    ReportStart(list);

    if (opened != OPEN_DONE)
        return Fail(list);

    LARGE_INTEGER size;
    if (!FileSize(file.Get(), &size) || size.QuadPart <= 0) {
        // Nothing to overwrite, or no size to bound the overwrite by.
        file.Close();
        return Fail(list);
    }

    int count = passes > 0 ? passes : 0;
    SetupProgress(progress, count);

    if (count > 0) {
        unsigned char buffer[kChunkSize];
        bool used[kFillValues];
        memset(used, 0, sizeof(used));
        int usedCount = 0;

        // Seeded once per call: seeding per pass would give every pass begun
        // within the same second the same byte.
        srand((unsigned int)time(nullptr));
        for (int pass = 0; pass < count; pass++) {
            // Every pass writes a byte no earlier pass of this call wrote
            // (until all 255 values have been used).
            if (usedCount == kFillValues) {
                memset(used, 0, sizeof(used));
                usedCount = 0;
            }
            int fill = rand() % kFillValues;
            while (used[fill])
                fill = (fill + 1) % kFillValues;
            used[fill] = true;
            usedCount++;

            if (!OverwritePass(file.Get(), size.QuadPart, buffer, (unsigned char)fill)) {
                file.Close();
                return Fail(list);
            }
            progress->StepIt();
        }
    }
    file.Close();

    CString renamed = RandomRename(canonical, ::GetTickCount());
    // Without a rename the original path is deleted: its content is already
    // overwritten, and no other file may ever be deleted in its place.
    CString target = renamed.IsEmpty() ? canonical : renamed;
    if (!::DeleteFileA(target))
        return Fail(list);

    ReportResult(1, list);
    AppendReportRow(list, GeneralText("50310"), REPORT_IMAGE_DONE);
    return 1;
}

int CShredderFunctions::Fail(CListCtrl* list)
{
    ReportResult(0, list);
    AppendReportRow(list, GeneralText("50320"), REPORT_IMAGE_FAILED);
    return 0;
}

void CShredderFunctions::ReportStart(CListCtrl* list)
{
    AppendReportRow(list, GeneralText("50305"), REPORT_IMAGE_WORKING);
    // The overwrite that follows neither reports nor pumps for a while.
    ShowReportRows(list);
}

void CShredderFunctions::ReportResult(int success, CListCtrl* list)
{
    ASSERT(list->GetItemCount() > 0);
    SetLastReportRow(list, nullptr, success ? REPORT_IMAGE_DONE : REPORT_IMAGE_FAILED);
}

CString CShredderFunctions::RandomName(CTwisterRandom& random)
{
    CString name;
    int length = random.RandomRange(5, 12);
    for (int i = 0; i < length; i++) {
        int index = static_cast<int32_t>(random.Random()) % 36;
        if (index < 0)
            index = -index;
        name += kNameAlphabet[index];
    }
    return name;
}

CString CShredderFunctions::RandomRename(CString path, uint32_t seed)
{
    CTwisterRandom random(seed);

    // The new name lies in the file's own folder.
    int cut = -1;
    for (int i = 0; i < path.GetLength(); i++)
        if (path[i] == '\\' || path[i] == '/')
            cut = i;
    CString folder = path.Left(cut + 1);

    for (int attempt = 0; attempt < RENAME_TRIES; attempt++) {
        CString newPath = folder + RandomName(random);
        // Without MOVEFILE_REPLACE_EXISTING a taken name fails the move, so
        // no other file is ever replaced.
        if (::MoveFileA(path, newPath))
            return newPath;
        DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
            break; // another name would fail the same way
    }
    return CString();
}
