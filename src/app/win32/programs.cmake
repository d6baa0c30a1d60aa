# The two programs: the same entry, adapter and core; they differ only in their string
# table (and a test program in its list key, tests/windows). Each carries the shared resources (version, icon 102, manifest, dialogs and their
# pictures) compiled by windres from a small generated wrapper.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(resources_source "${CMAKE_CURRENT_SOURCE_DIR}/resources")
# Every resource script beside plandrix.rc is included by it (dialogs, notices).
file(GLOB resource_scripts CONFIGURE_DEPENDS "${resources_source}/*.rc")
set(resources_out "${CMAKE_BINARY_DIR}/generated/resources")
configure_file("${resources_source}/version.h.in" "${resources_out}/plandrix_version.h" @ONLY)

add_custom_command(
  OUTPUT "${resources_out}/plandrix.ico"
  COMMAND Python3::Interpreter "${resources_source}/make_icon.py" "${resources_out}/plandrix.ico"
  DEPENDS "${resources_source}/make_icon.py"
  COMMENT "Drawing the program icon"
  VERBATIM)

# The settings dialog's pictures (side picture, browse and refresh buttons).
set(dialog_bitmaps "${resources_out}/side.bmp" "${resources_out}/browse.bmp" "${resources_out}/refresh.bmp")
add_custom_command(
  OUTPUT ${dialog_bitmaps}
  COMMAND Python3::Interpreter "${resources_source}/make_bitmaps.py" "${resources_out}"
  DEPENDS "${resources_source}/make_bitmaps.py" "${resources_source}/make_icon.py"
  COMMENT "Drawing the settings dialog's pictures"
  VERBATIM)

# The public key (PEM) the programs check the site's file lists against.
set(PLANDRIX_LIST_KEY "" CACHE FILEPATH
    "PEM public key the programs accept file lists signed with; empty: lists are taken unsigned")

# plandrix_program(TARGET STRINGS_RC [LIST_KEY PEM]): TARGET.exe with the given
# STRINGTABLE script, checking lists against PEM (default: PLANDRIX_LIST_KEY).
function(plandrix_program target strings_rc)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "LIST_KEY" "")
  if(NOT DEFINED arg_LIST_KEY)
    set(arg_LIST_KEY "${PLANDRIX_LIST_KEY}")
  endif()
  set(key_source "${CMAKE_BINARY_DIR}/generated/listkey/${target}.cpp")
  add_custom_command(
    OUTPUT "${key_source}"
    COMMAND "${CMAKE_COMMAND}" "-DKEY=${arg_LIST_KEY}" "-DOUT=${key_source}"
            -P "${CMAKE_SOURCE_DIR}/cmake/ListKeySource.cmake"
    DEPENDS "${CMAKE_SOURCE_DIR}/cmake/ListKeySource.cmake" ${arg_LIST_KEY}
    COMMENT "Writing the list key of ${target}.exe"
    VERBATIM)

  set(PLANDRIX_PROGRAM_FILE "${target}.exe")
  get_filename_component(PLANDRIX_PROGRAM_STRINGS "${strings_rc}" NAME)
  get_filename_component(strings_dir "${strings_rc}" DIRECTORY)
  set(wrapper "${resources_out}/${target}.rc")
  set(compiled "${resources_out}/${target}_resources.o")
  configure_file("${resources_source}/program.rc.in" "${wrapper}" @ONLY)
  add_custom_command(
    OUTPUT "${compiled}"
    COMMAND "${CMAKE_RC_COMPILER}" --input-format=rc --output-format=coff
            -I "${resources_out}" -I "${resources_source}" -I "${strings_dir}"
            -I "${CMAKE_SOURCE_DIR}/src"
            -i "${wrapper}" -o "${compiled}"
    DEPENDS "${wrapper}" ${resource_scripts} "${resources_source}/plandrix.manifest"
            "${resources_out}/plandrix.ico" "${resources_out}/plandrix_version.h" "${strings_rc}"
            ${dialog_bitmaps} "${CMAKE_SOURCE_DIR}/src/app/settingsdialogids.h" "${CMAKE_SOURCE_DIR}/src/app/noticeids.h"
            plandrix_string_resources
    COMMENT "Compiling the resources of ${target}.exe"
    VERBATIM)
  add_executable(${target} WIN32 "${CMAKE_CURRENT_SOURCE_DIR}/winmain.cpp" "${key_source}" "${compiled}")
  target_link_libraries(${target} PRIVATE plandrix_shell plandrix_win32 plandrix_core)
endfunction()

plandrix_program(Plandrix_T17_AE "${PLANDRIX_STRINGS_RC_FNC}")
plandrix_program(HalomirPlandrix "${PLANDRIX_STRINGS_RC_GENERIC}")

# For the end-to-end tests, the FNC program built with a test key pair made here: the
# signed-list test publishes with the private half (listkey-test/private.pem in the build
# folder) and runs this program.
find_program(PLANDRIX_OPENSSL openssl)
if(PLANDRIX_OPENSSL)
  set(test_key "${CMAKE_BINARY_DIR}/listkey-test")
  add_custom_command(
    OUTPUT "${test_key}/private.pem" "${test_key}/public.pem"
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${test_key}"
    COMMAND "${PLANDRIX_OPENSSL}" genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "${test_key}/private.pem"
    COMMAND "${PLANDRIX_OPENSSL}" pkey -in "${test_key}/private.pem" -pubout -out "${test_key}/public.pem"
    COMMENT "Making the test key pair for signed file lists"
    VERBATIM)
  plandrix_program(Plandrix_keyed "${PLANDRIX_STRINGS_RC_FNC}" LIST_KEY "${test_key}/public.pem")
else()
  message(STATUS "no openssl command: the program with a test list key is left out")
endif()
