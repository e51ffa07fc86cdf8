// Times one WipeFile call: shredder_bench <path> <passes>. Prints the seconds
// spent in the call and its result. Used by run.sh; not a test.
#include "ShredderFunctions.h"
#include "testsupport.h"
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: shredder_bench <path> <passes>\n");
        return 2;
    }
    pirt_test::CReportHost host;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    CShredderFunctions shredder;
    QueryPerformanceCounter(&start);
    int result = shredder.WipeFile(argv[1], atoi(argv[2]), host.List(), host.Progress());
    QueryPerformanceCounter(&end);
    printf("%.3f %d\n", double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart), result);
    return result == 1 ? 0 : 1;
}
