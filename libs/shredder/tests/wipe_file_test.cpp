// WipeFile under Wine: what reaches the disk in each pass, what is deleted and
// what is left alone, and the rows and steps it reports.
#include "ShredderFunctions.h"
#include "fw/handle.h"
#include "ShredderTestSeam.h"
#include "TwisterRandom.h"
#include "pirt.h"
#include "testsupport.h"
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using pirt_test::CReportHost;
using pirt_test::CScratchFolder;

namespace {
class CShredderProbe : public CShredderFunctions
{
public:
    using CShredderFunctions::RandomName;
    using CShredderFunctions::RandomRename;
};

CString Text(const char* key) { return GetLngString(CString("General"), CString(key)); }

// The file's bytes as text ("" for a missing file).
std::string FileText(const char* path)
{
    std::vector<char> content = pirt_test::ReadFileBytes(path);
    return std::string(content.begin(), content.end());
}

std::set<std::string> FolderEntries(const CString& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA(folder + "\\*", &data));
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(find, &data));
    return names;
}

bool Exists(const CString& path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

std::vector<char> Bytes(size_t size, char value) { return std::vector<char>(size, value); }

// Records the content of a witness file (a hard link to the file being
// wiped) each time the operation steps the progress bar, i.e. after each pass.
struct PassRecorder
{
    static CString witness;
    static std::vector<std::vector<char>> snapshots;
    static WNDPROC previous;

    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == PBM_STEPIT)
            snapshots.push_back(pirt_test::ReadFileBytes(witness));
        return CallWindowProcA(previous, wnd, msg, wp, lp);
    }
    static void Attach(CProgressCtrl* progress, const CString& witnessPath)
    {
        witness = witnessPath;
        snapshots.clear();
        previous = (WNDPROC)SetWindowLongPtrA(progress->GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)Proc);
    }
    static void Detach(CProgressCtrl* progress)
    {
        SetWindowLongPtrA(progress->GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)previous);
    }
};
CString PassRecorder::witness;
std::vector<std::vector<char>> PassRecorder::snapshots;
WNDPROC PassRecorder::previous;

class WipeFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pirt_test::ResetDataRoots();
        ASSERT_FALSE(Text("50300").IsEmpty());
        ASSERT_FALSE(Text("50305").IsEmpty());
        ASSERT_FALSE(Text("50310").IsEmpty());
        ASSERT_FALSE(Text("50320").IsEmpty());
    }

    // Heading, working and closing row of one call.
    static void ExpectRows(CReportHost& host, const CString& path, bool success)
    {
        ASSERT_EQ(3, host.RowCount());
        EXPECT_STREQ(Text("50300") + " (" + path + ")", host.RowText(0));
        EXPECT_EQ(0, host.RowImage(0));
        EXPECT_STREQ(Text("50305"), host.RowText(1));
        EXPECT_EQ(success ? 0 : 1, host.RowImage(1));
        EXPECT_STREQ(Text(success ? "50310" : "50320"), host.RowText(2));
        EXPECT_EQ(success ? 0 : 1, host.RowImage(2));
    }

    static void MarkProgress(CReportHost& host)
    {
        host.Progress()->SetRange(0, 7);
        host.Progress()->SetPos(5);
    }
    static void ExpectProgressUntouched(CReportHost& host)
    {
        EXPECT_EQ(0, host.ProgressLow());
        EXPECT_EQ(7, host.ProgressHigh());
        EXPECT_EQ(5, host.ProgressPos());
    }
};
} // namespace

TEST_F(WipeFileTest, EveryPassOverwritesTheWholeFileWithItsOwnByte)
{
    const size_t sizes[] = {1, 1024, 1025, 64 * 1024 + 1};
    for (size_t size : sizes) {
        SCOPED_TRACE(testing::Message() << "size " << size);
        CScratchFolder folder("shredder_passes");
        CString path = folder("secret.txt");
        CString witness = folder("witness");
        // 0xFF is never a fill byte, so any byte left of the original shows.
        ASSERT_TRUE(pirt_test::WriteFileBytes(path, Bytes(size, '\xFF').data(), size));
        ASSERT_TRUE(CreateHardLinkA(witness, path, nullptr));

        CReportHost host;
        PassRecorder::Attach(host.Progress(), witness);
        CShredderFunctions shredder;
        int result = shredder.WipeFile(path, 3, host.List(), host.Progress());
        PassRecorder::Detach(host.Progress());

        EXPECT_EQ(1, result);
        ASSERT_EQ(3u, PassRecorder::snapshots.size());
        std::set<unsigned char> fills;
        for (const std::vector<char>& snapshot : PassRecorder::snapshots) {
            ASSERT_EQ(size, snapshot.size());
            unsigned char fill = (unsigned char)snapshot[0];
            EXPECT_NE(0xFF, fill);
            EXPECT_EQ(Bytes(size, (char)fill), snapshot);
            fills.insert(fill);
        }
        EXPECT_EQ(3u, fills.size()) << "passes repeat a fill byte";

        // Only the witness is left: the file went under its random name.
        EXPECT_EQ(std::set<std::string>({"witness"}), FolderEntries(folder.Path()));
        EXPECT_EQ(PassRecorder::snapshots.back(), pirt_test::ReadFileBytes(witness));

        ExpectRows(host, path, true);
        EXPECT_EQ(0, host.ProgressLow());
        EXPECT_EQ(3, host.ProgressHigh());
        EXPECT_EQ(3, host.ProgressPos());
    }
}

TEST_F(WipeFileTest, NoPassesDeletesWithoutOverwriting)
{
    const int passCounts[] = {0, -2};
    for (int passes : passCounts) {
        SCOPED_TRACE(testing::Message() << "passes " << passes);
        CScratchFolder folder("shredder_nopass");
        CString path = folder("notes.doc");
        CString witness = folder("witness");
        ASSERT_TRUE(pirt_test::WriteFileText(path, "original"));
        ASSERT_TRUE(CreateHardLinkA(witness, path, nullptr));

        CReportHost host;
        CShredderFunctions shredder;
        EXPECT_EQ(1, shredder.WipeFile(path, passes, host.List(), host.Progress()));

        EXPECT_EQ(std::set<std::string>({"witness"}), FolderEntries(folder.Path()));
        EXPECT_EQ("original", FileText(witness));
        ExpectRows(host, path, true);
        EXPECT_EQ(0, host.ProgressHigh());
        EXPECT_EQ(0, host.ProgressPos());
    }
}

TEST_F(WipeFileTest, EmptyOrMissingFileIsReportedAndLeftAlone)
{
    CScratchFolder folder("shredder_nothing");
    CString empty = folder("empty.txt");
    ASSERT_TRUE(pirt_test::WriteFileBytes(empty, "", 0));
    {
        CReportHost host;
        MarkProgress(host);
        CShredderFunctions shredder;
        EXPECT_EQ(0, shredder.WipeFile(empty, 3, host.List(), host.Progress()));
        ExpectRows(host, empty, false);
        ExpectProgressUntouched(host);
        EXPECT_EQ(std::set<std::string>({"empty.txt"}), FolderEntries(folder.Path()));
        EXPECT_TRUE(pirt_test::ReadFileBytes(empty).empty());
    }
    {
        // A missing file is not created by the attempt.
        CString missing = folder("missing.txt");
        CReportHost host;
        MarkProgress(host);
        CShredderFunctions shredder;
        EXPECT_EQ(0, shredder.WipeFile(missing, 3, host.List(), host.Progress()));
        ExpectRows(host, missing, false);
        ExpectProgressUntouched(host);
        EXPECT_FALSE(Exists(missing));
        EXPECT_FALSE(Exists(folder("nofolder\\missing.txt")));
    }
}

TEST_F(WipeFileTest, FileThatCannotBeWrittenGetsNoRowAndStays)
{
    CScratchFolder folder("shredder_locked");
    CString locked = folder("locked.bin");
    CString readOnly = folder("readonly.bin");
    ASSERT_TRUE(pirt_test::WriteFileText(locked, "locked data"));
    ASSERT_TRUE(pirt_test::WriteFileText(readOnly, "read-only data"));
    ASSERT_TRUE(SetFileAttributesA(readOnly, FILE_ATTRIBUTE_READONLY));

    CHandle holder(CreateFileA(locked, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    CReportHost host;
    MarkProgress(host);
    CShredderFunctions shredder;
    EXPECT_EQ(0, shredder.WipeFile(locked, 3, host.List(), host.Progress()));
    EXPECT_EQ(0, shredder.WipeFile(readOnly, 3, host.List(), host.Progress()));
    holder.Close();

    EXPECT_EQ(0, host.RowCount());
    ExpectProgressUntouched(host);
    EXPECT_EQ("locked data", FileText(locked));
    EXPECT_EQ("read-only data", FileText(readOnly));
    SetFileAttributesA(readOnly, FILE_ATTRIBUTE_NORMAL);
}

namespace {
// Fails the write that starts the chunk at failAt bytes into the second pass.
struct FailingWriter
{
    static LONGLONG written;
    static LONGLONG failAt;
    static BOOL WINAPI Write(HANDLE file, LPCVOID data, DWORD size, LPDWORD done, LPOVERLAPPED overlapped)
    {
        if (written == failAt) {
            SetLastError(ERROR_DISK_FULL);
            return FALSE;
        }
        written += size;
        return WriteFile(file, data, size, done, overlapped);
    }
};
LONGLONG FailingWriter::written;
LONGLONG FailingWriter::failAt;
} // namespace

TEST_F(WipeFileTest, FailedWriteIsReportedAsFailureAndKeepsTheFile)
{
    CScratchFolder folder("shredder_writefail");
    CString path = folder("big.bin");
    const size_t size = 200 * 1024;
    ASSERT_TRUE(pirt_test::WriteFileBytes(path, Bytes(size, '\xFF').data(), size));

    // The first pass completes, the second stops after one 64 KiB chunk.
    FailingWriter::written = 0;
    FailingWriter::failAt = size + 64 * 1024;
    ShredderFileCalls failing = {nullptr, nullptr, FailingWriter::Write, nullptr};
    ShredderFileCalls previous = SetShredderFileCalls(&failing);
    CReportHost host;
    CShredderFunctions shredder;
    int result = shredder.WipeFile(path, 3, host.List(), host.Progress());
    SetShredderFileCalls(&previous);

    EXPECT_EQ(0, result);
    ExpectRows(host, path, false);
    EXPECT_EQ(3, host.ProgressHigh());
    EXPECT_EQ(1, host.ProgressPos());
    // Still under its own name, overwritten as far as the writes went.
    EXPECT_EQ(std::set<std::string>({"big.bin"}), FolderEntries(folder.Path()));
    std::vector<char> content = pirt_test::ReadFileBytes(path);
    ASSERT_EQ(size, content.size());
    EXPECT_NE('\xFF', content[0]);
    EXPECT_NE(content[0], content[size - 1]) << "the second pass began at the start";
    EXPECT_EQ(content[64 * 1024], content[size - 1]);
}

TEST_F(WipeFileTest, RenameNeverReplacesAnotherFile)
{
    CScratchFolder folder("shredder_rename");
    const uint32_t seed = 4242;
    std::vector<CString> names;
    CTwisterRandom random(seed);
    for (int i = 0; i < CShredderFunctions::RENAME_TRIES; i++) {
        CString name = CShredderProbe::RandomName(random);
        ASSERT_GE(name.GetLength(), 5);
        ASSERT_LE(name.GetLength(), 12);
        ASSERT_EQ(name.GetLength(), (int)strspn(name, "abcdefghijklmnopqrstuvwxyz0123456789"));
        names.push_back(name);
    }

    // The first name is taken: the second one is used, the other file stays.
    CString path = folder("target.txt");
    ASSERT_TRUE(pirt_test::WriteFileText(path, "target"));
    ASSERT_TRUE(pirt_test::WriteFileText(folder(names[0]), "bystander"));
    CShredderProbe shredder;
    EXPECT_STREQ(folder(names[1]), shredder.RandomRename(path, seed));
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ("target", FileText(folder(names[1])));
    EXPECT_EQ("bystander", FileText(folder(names[0])));

    // Every name taken: no rename, the file stays where it was.
    for (const CString& name : names)
        ASSERT_TRUE(pirt_test::WriteFileText(folder(name), "bystander"));
    CString second = folder("second.txt");
    ASSERT_TRUE(pirt_test::WriteFileText(second, "second"));
    EXPECT_STREQ("", shredder.RandomRename(second, seed));
    EXPECT_TRUE(Exists(second));
    for (const CString& name : names)
        EXPECT_EQ("bystander", FileText(folder(name))) << name.GetString();
}

TEST_F(WipeFileTest, WipeSkipsARandomNameThatIsTaken)
{
    // The rename is seeded with the tick count: every name it can draw first
    // during a window ahead of now is taken by a file that must survive, and
    // the wipe runs inside that window.
    CScratchFolder folder("shredder_clash");
    const DWORD lead = 1500, window = 600;
    DWORD from = GetTickCount() + lead;
    std::set<std::string> bystanders;
    for (DWORD tick = from; tick < from + window; tick++) {
        CTwisterRandom random(tick);
        CString name = CShredderProbe::RandomName(random);
        if (bystanders.insert(name.GetString()).second) {
            ASSERT_TRUE(pirt_test::WriteFileText(folder(name), "bystander"));
        }
    }
    CString path = folder("Secret.DAT");
    ASSERT_TRUE(pirt_test::WriteFileText(path, "secret"));

    CReportHost host;
    if (GetTickCount() >= from)
        GTEST_SKIP() << "the machine was too slow to prepare the window";
    while (GetTickCount() < from)
        Sleep(1);
    CShredderFunctions shredder;
    int result = shredder.WipeFile(path, 1, host.List(), host.Progress());
    if (GetTickCount() >= from + window)
        GTEST_SKIP() << "the machine was too slow to keep the wipe inside the prepared window";

    EXPECT_EQ(1, result);
    ExpectRows(host, path, true);
    EXPECT_EQ(bystanders, FolderEntries(folder.Path()));
    for (const std::string& name : bystanders)
        ASSERT_EQ("bystander", FileText(folder(name.c_str()))) << name;
}

TEST_F(WipeFileTest, FileThatCannotBeMovedIsDeletedOnlyUnderItsOwnName)
{
    // Held open without delete sharing: the overwrite goes through, the move
    // and the delete are refused; no other file appears or disappears.
    CScratchFolder folder("shredder_nomove");
    CString path = folder("held.txt");
    CString other = folder("other.txt");
    ASSERT_TRUE(pirt_test::WriteFileText(path, "held content"));
    ASSERT_TRUE(pirt_test::WriteFileText(other, "other"));
    CHandle holder(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    CReportHost host;
    CShredderFunctions shredder;
    int result = shredder.WipeFile(path, 1, host.List(), host.Progress());
    holder.Close();

    EXPECT_EQ(0, result);
    ExpectRows(host, path, false);
    EXPECT_EQ(std::set<std::string>({"held.txt", "other.txt"}), FolderEntries(folder.Path()));
    std::vector<char> content = pirt_test::ReadFileBytes(path);
    ASSERT_EQ(12u, content.size());
    EXPECT_EQ(Bytes(12, content[0]), content);
    EXPECT_NE('h', content[0]);
}

TEST_F(WipeFileTest, LinkIsRefusedHoweverWrittenAndItsTargetUntouched)
{
    // Made on the host side by the link fixture (Wine cannot make links).
    const CString base = pirt_test::ProgramFolder() + "\\shredderlinks";
    if (!Exists(base + "\\toplink"))
        GTEST_SKIP() << "no link fixture";

    // Written with a trailing separator, Wine shows the link as a plain folder.
    for (const char* spelling : {"\\toplink", "\\toplink\\", "\\toplink\\\\", "/toplink/"}) {
        const CString link = base + spelling;
        CReportHost host;
        CShredderFunctions shredder;
        EXPECT_EQ(0, shredder.WipeFile(link, 3, host.List(), host.Progress())) << link;
        ExpectRows(host, link, false);
        EXPECT_TRUE(Exists(base + "\\toplink")) << link;
        EXPECT_EQ("keep\n", FileText(base + "\\outside\\keep.txt")) << link;
        EXPECT_EQ(std::set<std::string>({"keep.dmp", "keep.txt", "sub"}), FolderEntries(base + "\\outside"));
    }
}

namespace {
// Counts what a wipe writes and flushes without writing it, and makes the
// file as large as a test says; the file being opened may vanish first.
struct CallRecorder
{
    static LONGLONG size; // 0: the file's own size
    static bool vanish;   // delete the file just before it is opened
    static LONGLONG written;
    static std::vector<LONGLONG> flushedAt;
    static std::vector<DWORD> dispositions;

    static HANDLE WINAPI Open(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                              DWORD flags, HANDLE tmpl)
    {
        dispositions.push_back(disposition);
        if (vanish)
            DeleteFileA(path);
        return CreateFileA(path, access, share, sa, disposition, flags, tmpl);
    }
    static BOOL WINAPI Size(HANDLE file, PLARGE_INTEGER out)
    {
        if (size == 0)
            return GetFileSizeEx(file, out);
        out->QuadPart = size;
        return TRUE;
    }
    static BOOL WINAPI Write(HANDLE, LPCVOID, DWORD bytes, LPDWORD done, LPOVERLAPPED)
    {
        written += bytes;
        *done = bytes;
        return TRUE;
    }
    static BOOL WINAPI Flush(HANDLE)
    {
        flushedAt.push_back(written);
        return TRUE;
    }
    static ShredderFileCalls Install(LONGLONG fileSize, bool vanishFirst)
    {
        size = fileSize;
        vanish = vanishFirst;
        written = 0;
        flushedAt.clear();
        dispositions.clear();
        ShredderFileCalls calls = {Open, Size, Write, Flush};
        return SetShredderFileCalls(&calls);
    }
};
LONGLONG CallRecorder::size;
bool CallRecorder::vanish;
LONGLONG CallRecorder::written;
std::vector<LONGLONG> CallRecorder::flushedAt;
std::vector<DWORD> CallRecorder::dispositions;
} // namespace

// A file above 4 GiB is overwritten to its last byte in every pass, and each
// pass is flushed to the disk before the next begins.
TEST_F(WipeFileTest, EveryPassOfAFileAbove4GiBIsWrittenWholeAndFlushed)
{
    CScratchFolder folder("shredder_large");
    CString path = folder("large.bin");
    ASSERT_TRUE(pirt_test::WriteFileText(path, "stands in for 4 GiB"));
    const LONGLONG size = 0x100000000LL + 12345;

    ShredderFileCalls previous = CallRecorder::Install(size, false);
    CReportHost host;
    CShredderFunctions shredder;
    int result = shredder.WipeFile(path, 2, host.List(), host.Progress());
    SetShredderFileCalls(&previous);

    EXPECT_EQ(1, result);
    EXPECT_EQ(std::vector<LONGLONG>({size, 2 * size}), CallRecorder::flushedAt);
    EXPECT_EQ(2 * size, CallRecorder::written);
    EXPECT_EQ(std::vector<DWORD>({(DWORD)OPEN_EXISTING}), CallRecorder::dispositions);
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
    ExpectRows(host, path, true);
}

// A file that vanishes between the checks and the open is never created anew.
TEST_F(WipeFileTest, FileVanishingBeforeItIsOpenedIsNotCreated)
{
    CScratchFolder folder("shredder_vanish");
    CString path = folder("gone.bin");
    ASSERT_TRUE(pirt_test::WriteFileText(path, "secret"));

    ShredderFileCalls previous = CallRecorder::Install(0, true);
    CReportHost host;
    CShredderFunctions shredder;
    int result = shredder.WipeFile(path, 2, host.List(), host.Progress());
    SetShredderFileCalls(&previous);

    EXPECT_EQ(0, result);
    EXPECT_EQ(1u, CallRecorder::dispositions.size());
    EXPECT_FALSE(Exists(path));
    EXPECT_TRUE(FolderEntries(folder.Path()).empty());
    EXPECT_EQ(0, CallRecorder::written);
}
