# Linux host: portable code with its unit tests (sanitized), tools, fuzz targets, benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

# Two builds of the portable code: vrin_core, under AddressSanitizer and UBSan, for the unit
# tests (the fuzz targets build their own, sanitized too); vrin_core_fast, plain, for what a
# user runs (skintool, picgen) and for the benchmarks.
set(VRIN_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
vrin_add_core(vrin_core ${VRIN_SANITIZERS})
vrin_add_core(vrin_core_fast)
target_compile_options(vrin_core_fast PRIVATE -O2)

file(GLOB VRIN_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
if(VRIN_UNIT_TESTS)
  add_executable(unit_tests ${VRIN_UNIT_TESTS})
  target_link_libraries(unit_tests PRIVATE vrin_core GTest::gtest_main)
  target_compile_definitions(unit_tests PRIVATE VRIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60)
endif()

# tools/<name>/CMakeLists.txt, fuzz/ and bench/ each describe their own targets.
file(GLOB VRIN_TOOL_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(dir ${VRIN_TOOL_DIRS})
  if(EXISTS ${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()
foreach(dir fuzz bench)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${dir})
  endif()
endforeach()
