# Shared application services: compiled once per data root tail
# ("\\Zex\\Ulmoro" or "\\Talvery\\Pirt") into a static library that each
# deliverable links. The progress dialog is the exception: its base class
# follows the program's window style (PIRT_THEMED_PROGRESS_DIALOG), so it is
# compiled with each deliverable.
function(pirt_add_common target tail)
  string(REGEX REPLACE "[^A-Za-z]+" "_" _id "${tail}")
  string(TOLOWER "pirt_common${_id}" _lib)
  if(NOT TARGET ${_lib})
    file(GLOB _common_src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/common/*.cpp)
    list(REMOVE_ITEM _common_src ${CMAKE_SOURCE_DIR}/common/progressdlg.cpp)
    add_library(${_lib} STATIC ${_common_src})
    target_include_directories(${_lib} PUBLIC ${CMAKE_SOURCE_DIR}/common)
    target_compile_definitions(${_lib} PRIVATE "PIRT_DATA_ROOT_TAIL=\"${tail}\"")
    target_link_libraries(${_lib} PUBLIC framework comctl32 comdlg32 shell32 shlwapi advapi32
      ole32 gdi32 user32 kernel32)
  endif()
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/common/progressdlg.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/common)
  target_link_libraries(${target} PRIVATE ${_lib})
endfunction()

# The preferences pages shared by the main cleaner and the recent-work
# cleaner (the eraser keeps pages of its own under the same names).
function(pirt_add_prefpages target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/common/prefs/PrefPages.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/common/prefs)
endfunction()

# The main frame and application object that the document programs (the
# main cleaner, the recent-work cleaner and the plug-in builder) build on.
function(pirt_add_suiteframe target)
  target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/common/frame/suiteframe.cpp
    ${CMAKE_SOURCE_DIR}/common/frame/suiteapp.cpp)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/common/frame)
endfunction()

# A test executable: runs under Wine through CTest, from the tests folder, with
# the program folder's DLLs found through WINEPATH.
function(pirt_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PIRT_TEST_DIR})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main gtest)
  add_dependencies(${name} pirt_data pirt_runtime)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# A host-side link fixture (tests/support/make-links.sh) in <tests>\<folder>,
# made before the test and removed after it.
function(pirt_add_link_fixture test folder)
  set(_script ${CMAKE_SOURCE_DIR}/tests/support/make-links.sh)
  add_test(NAME ${test}_links_setup COMMAND sh ${_script} ${PIRT_TEST_DIR}/${folder})
  add_test(NAME ${test}_links_cleanup COMMAND sh ${_script} ${PIRT_TEST_DIR}/${folder} clean)
  set_tests_properties(${test}_links_setup PROPERTIES FIXTURES_SETUP ${test}_links)
  set_tests_properties(${test}_links_cleanup PROPERTIES FIXTURES_CLEANUP ${test}_links)
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${test}_links)
endfunction()
