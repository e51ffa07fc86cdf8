# Helpers shared by every deliverable's CMakeLists.

# Shared application services, compiled into each deliverable with its own data
# root tail ("\\Zex\\Ulmoro" or "\\Talvery\\Pirt").
function(pirt_add_common target tail)
  file(GLOB _common_src CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/common/*.cpp)
  target_sources(${target} PRIVATE ${_common_src})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/common)
  target_compile_definitions(${target} PRIVATE "PIRT_DATA_ROOT_TAIL=\"${tail}\"")
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
