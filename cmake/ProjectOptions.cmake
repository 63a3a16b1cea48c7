# Shared compile settings: every target links project_options and project_warnings.
add_library(project_options INTERFACE)
target_compile_features(project_options INTERFACE cxx_std_20)

# Every warning is an error, unless a build turns that off for a look around.
option(PROJECT_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" ON)
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE -Wall -Wextra -Wshadow)
if(PROJECT_WARNINGS_AS_ERRORS)
  target_compile_options(project_warnings INTERFACE -Werror)
endif()

if(WIN32)
  # Unicode inside the framework; the 32-bit system headers of XP and later.
  target_compile_definitions(project_options INTERFACE
    UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
endif()

option(ENABLE_SANITIZERS "Build the host core with ASan and UBSan" OFF)
if(ENABLE_SANITIZERS AND NOT WIN32)
  target_compile_options(project_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

# GoogleTest is built from the Debian source package for both targets.
set(GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
function(project_add_gtest)
  if(TARGET gtest)
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL)
endfunction()
