# Helpers shared by every folder of the tree.

set(CV_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)

# cv_library(<name> [DIR <dir>] DEPS <targets...>)
# A static library of every .cpp under DIR (default: the current folder),
# recursively, so helpers can add files without touching CMake.
function(cv_library name)
  cmake_parse_arguments(A "" "DIR" "DEPS" ${ARGN})
  if(NOT A_DIR)
    set(A_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${A_DIR}/*.cpp)
  file(GLOB_RECURSE hdrs CONFIGURE_DEPENDS ${A_DIR}/*.h)
  if(NOT srcs)
    # A folder that holds no code yet still gives a target to link.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${A_DEPS})
    return()
  endif()
  add_library(${name} STATIC ${srcs} ${hdrs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${CV_WARNINGS})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
endfunction()

# Private home, settings and temporary folders for a test or benchmark
# program (tests/support/private_folders.cpp), linked into every one.
function(cv_private_folders target)
  if(NOT TARGET cv_private_folders)
    add_library(cv_private_folders OBJECT ${PROJECT_SOURCE_DIR}/tests/support/private_folders.cpp)
    target_compile_options(cv_private_folders PRIVATE ${CV_WARNINGS})
  endif()
  target_link_libraries(${target} PRIVATE cv_private_folders)
endfunction()

# cv_test(<name> DIR <dir> DEPS <targets...> [QT])
# One GoogleTest executable per test folder; QT gives it a main that
# creates a QApplication on the offscreen platform.
function(cv_test name)
  cmake_parse_arguments(A "QT" "DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${A_DIR}/*.cpp ${A_DIR}/*.h)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  cv_private_folders(${name})
  target_compile_options(${name} PRIVATE ${CV_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE
    CV_SOURCE_DIR="${PROJECT_SOURCE_DIR}" CV_TEST_DIR="${A_DIR}")
  if(A_QT)
    target_link_libraries(${name} PRIVATE ${A_DEPS} cv_test_qt_main GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 300)
endfunction()

# cv_bench(<name> SOURCES <files...> DEPS <targets...>)
function(cv_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  cv_private_folders(${name})
  target_compile_options(${name} PRIVATE ${CV_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_DEPS} benchmark::benchmark)
endfunction()
