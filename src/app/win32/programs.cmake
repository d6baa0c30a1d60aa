# The two programs: the same entry, adapter and core; they differ only in their string
# table. Each carries the shared resources (version, icon 102, manifest, dialogs and their
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

# plandrix_program(TARGET STRINGS_RC): TARGET.exe with the given STRINGTABLE script.
function(plandrix_program target strings_rc)
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
  add_executable(${target} WIN32 "${CMAKE_CURRENT_SOURCE_DIR}/winmain.cpp" "${compiled}")
  target_link_libraries(${target} PRIVATE plandrix_shell plandrix_win32 plandrix_core)
endfunction()

plandrix_program(Plandrix_T17_AE "${PLANDRIX_STRINGS_RC_FNC}")
plandrix_program(HalomirPlandrix "${PLANDRIX_STRINGS_RC_GENERIC}")
