// Times one WipeFile call: shredder_bench <path> <passes>. Prints the seconds
// spent in the call and its result on the first line ("<seconds> <result>"),
// then where the time went, seen through the wipe's file calls: the opening
// (path checks and the open), every pass's writes and its flush, and the
// rest after the last flush (close, rename, delete, rows). Used by
// bench/shredder-wipe.sh; not a test. "shredder_bench -" only starts, makes
// the report window and ends: the Wine process's own cost, without a wipe.
#include "ShredderFunctions.h"
#include "ShredderTestSeam.h"
#include "benchtime.h"
#include "testsupport.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
// Milliseconds at each file call's return, and the writes' count and sizes.
double g_opened, g_sized;
struct Pass
{
    double firstWrite = 0, lastWrite = 0, flushed = 0;
    int writes = 0;
    DWORD largest = 0;
};
std::vector<Pass> g_passes(1);

HANDLE WINAPI TimedOpen(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                        DWORD flags, HANDLE model)
{
    HANDLE file = ::CreateFileA(path, access, share, security, disposition, flags, model);
    g_opened = Now();
    return file;
}
BOOL WINAPI TimedSize(HANDLE file, PLARGE_INTEGER size)
{
    BOOL done = ::GetFileSizeEx(file, size);
    g_sized = Now();
    return done;
}
BOOL WINAPI TimedWrite(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped)
{
    Pass& pass = g_passes.back();
    if (pass.writes == 0)
        pass.firstWrite = Now();
    BOOL done = ::WriteFile(file, data, bytes, written, overlapped);
    pass.lastWrite = Now();
    pass.writes++;
    if (bytes > pass.largest)
        pass.largest = bytes;
    return done;
}
BOOL WINAPI TimedFlush(HANDLE file)
{
    BOOL done = ::FlushFileBuffers(file);
    g_passes.back().flushed = Now();
    g_passes.emplace_back();
    return done;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "-") == 0) {
        pirt_test::CReportHost host;
        return 0;
    }
    if (argc != 3) {
        fprintf(stderr, "usage: shredder_bench <path> <passes> | shredder_bench -\n");
        return 2;
    }
    pirt_test::CReportHost host;
    CShredderFunctions shredder;
    const ShredderFileCalls timed = {TimedOpen, TimedSize, TimedWrite, TimedFlush};
    SetShredderFileCalls(&timed);
    double start = Now();
    int result = shredder.WipeFile(argv[1], atoi(argv[2]), host.List(), host.Progress());
    double end = Now();
    SetShredderFileCalls(nullptr);
    printf("%.3f %d\n", (end - start) / 1000.0, result);

    g_passes.pop_back(); // the one begun after the last flush
    double writes = 0, flushes = 0, last = g_sized;
    for (const Pass& pass : g_passes) {
        writes += pass.lastWrite - last;
        flushes += pass.flushed - pass.lastWrite;
        last = pass.flushed;
    }
    // One line for the script: opening, all writes, all flushes, the rest (ms).
    printf("phases %.1f %.1f %.1f %.1f\n", g_opened - start, writes, flushes, end - last);

    printf("  opening (checks, open):   %7.1f ms\n", g_opened - start);
    last = g_sized;
    for (size_t i = 0; i < g_passes.size(); i++) {
        const Pass& pass = g_passes[i];
        printf("  pass %u: writes %7.1f ms (%d x %lu bytes), flush %7.1f ms\n", unsigned(i + 1), pass.lastWrite - last,
               pass.writes, (unsigned long)pass.largest, pass.flushed - pass.lastWrite);
        last = pass.flushed;
    }
    printf("  after the last flush:     %7.1f ms (close, rename, delete, rows)\n", end - last);
    return result == 1 ? 0 : 1;
}
