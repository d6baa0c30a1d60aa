# plandrix_subsystem(NAME FOLDER): the .cpp files directly in FOLDER become the object
# library pdx_NAME, part of plandrix_core. Sub-folders are not included (the cabinet
# decoder and the Win32 adapter are built on their own).
set(PLANDRIX_SUBSYSTEMS "")
function(plandrix_subsystem name folder)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_library(pdx_${name} OBJECT ${sources})
  target_include_directories(pdx_${name} PUBLIC "${CMAKE_SOURCE_DIR}/src" "${CMAKE_BINARY_DIR}/generated")
  set(PLANDRIX_SUBSYSTEMS ${PLANDRIX_SUBSYSTEMS} ${name} PARENT_SCOPE)
endfunction()

# plandrix_unit_tests(NAME FOLDER [LIBS...]): every .cpp in FOLDER is one GoogleTest
# executable unit_NAME linked with the core and the fake OS.
function(plandrix_unit_tests name folder)
  file(GLOB sources CONFIGURE_DEPENDS "${folder}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(unit_${name} ${sources})
  target_link_libraries(unit_${name} PRIVATE plandrix_fakes plandrix_core GTest::gtest GTest::gmock GTest::gtest_main ${ARGN})
  target_compile_definitions(unit_${name} PRIVATE PLANDRIX_SHARED_DIR="${PLANDRIX_SHARED_DIR}"
                             PLANDRIX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" PLANDRIX_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(unit_${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60)
endfunction()
