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
