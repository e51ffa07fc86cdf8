# The same sources as 64-bit Windows code: the test build, for machines whose
# kernel cannot run 32-bit Wine (see tools/test.sh).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
