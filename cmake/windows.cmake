# Windows side: Vrin.exe, notify.exe, the Windows-side test programs (run under Wine).
set(VRIN_STATIC_LINK -static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0600)

vrin_add_core(vrin_core)

# Everything under src/ that is not portable and not the program's entry.
file(GLOB_RECURSE VRIN_WIN_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
list(FILTER VRIN_WIN_SOURCES EXCLUDE REGEX "/src/core/|/pure/|/src/app/main\\.cpp$")
# Lets a developer leave half-written folders out of a private build.
set(VRIN_SOURCE_EXCLUDE "" CACHE STRING "regex of Windows-side sources to leave out")
if(VRIN_SOURCE_EXCLUDE)
  list(FILTER VRIN_WIN_SOURCES EXCLUDE REGEX "${VRIN_SOURCE_EXCLUDE}")
endif()
add_library(vrin_win STATIC ${VRIN_WIN_SOURCES})
target_link_libraries(vrin_win PUBLIC vrin_core
  comctl32 shell32 ole32 oleaut32 uuid urlmon wininet advapi32 gdi32 user32 winmm msimg32 shlwapi)

set(VRIN_RC ${CMAKE_SOURCE_DIR}/resources/vrin.rc)
add_executable(Vrin WIN32 ${CMAKE_SOURCE_DIR}/src/app/main.cpp ${VRIN_RC})
target_link_libraries(Vrin PRIVATE vrin_win)
target_link_options(Vrin PRIVATE ${VRIN_STATIC_LINK})
set_target_properties(Vrin PROPERTIES OUTPUT_NAME Vrin)

# The Windows-side tools (notify.exe, which plays the browser helper) go with the program,
# so a 32-bit build gives the pair a 32-bit helper is tried with.
file(GLOB VRIN_TOOL_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(dir ${VRIN_TOOL_DIRS})
  if(EXISTS ${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endforeach()

if(VRIN_PROGRAM_ONLY)
  return()
endif()

# GoogleTest, built from the Debian sources for this target.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Each tests/win/*_test.cpp is its own program, so one crash cannot hide the others.
file(GLOB VRIN_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*_test.cpp)
file(GLOB VRIN_WIN_TEST_SUPPORT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/support/*.cpp)
foreach(src ${VRIN_WIN_TESTS})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src} ${VRIN_WIN_TEST_SUPPORT} ${VRIN_RC})
  target_link_libraries(${name} PRIVATE vrin_win gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/win)
  target_link_options(${name} PRIVATE ${VRIN_STATIC_LINK})
  target_compile_definitions(${name} PRIVATE VRIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME win.${name} COMMAND ${name})
endforeach()

foreach(dir tests/fixtures tests/e2e bench/win)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${CMAKE_SOURCE_DIR}/${dir})
  endif()
endforeach()
