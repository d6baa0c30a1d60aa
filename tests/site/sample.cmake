# The sample product, assembled in the build tree at <build>/sample-product: the
# text files of tests/data/sample-product plus small Windows binaries built here with
# the project's mingw-w64 toolchain, each with a version resource. The layout that
# goes with it is tests/data/sample-product.layout.
set(PLANDRIX_SAMPLE_DIR "${CMAKE_BINARY_DIR}/sample-product" CACHE INTERNAL "Assembled sample product")
set(PLANDRIX_SAMPLE_LAYOUT "${CMAKE_SOURCE_DIR}/tests/data/sample-product.layout" CACHE INTERNAL "")
set(sample_src "${CMAKE_SOURCE_DIR}/tests/data")
set(pe_src "${sample_src}/pe")
set(pe_out "${CMAKE_BINARY_DIR}/sample-pe")

find_program(MINGW_GCC x86_64-w64-mingw32-gcc-posix)
find_program(MINGW_WINDRES x86_64-w64-mingw32-windres)
# One 32-bit library too, so the older image layout is published and read as well.
find_program(MINGW32_GCC i686-w64-mingw32-gcc-posix)
find_program(MINGW32_WINDRES i686-w64-mingw32-windres)

# sample_binary(NAME RC SOURCE KIND NUMBER PLACE [GCC WINDRES]): KIND is exe or dll; PLACE
# is the path inside the sample product; the 64-bit tools unless others are given.
set(sample_binaries "")
set(sample_copies "")
function(sample_binary output rc source kind version_number place)
  set(res "${CMAKE_BINARY_DIR}/sample-pe-obj/${rc}.res.o")
  set(bin "${pe_out}/${place}")
  get_filename_component(bin_dir "${bin}" DIRECTORY)
  set(gcc ${MINGW_GCC})
  set(windres ${MINGW_WINDRES})
  if(ARGC GREATER 7)
    set(gcc ${ARGV6})
    set(windres ${ARGV7})
  endif()
  set(link_kind "")
  if(kind STREQUAL "dll")
    set(link_kind -shared)
  endif()
  add_custom_command(OUTPUT "${bin}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${bin_dir}" "${CMAKE_BINARY_DIR}/sample-pe-obj"
    COMMAND ${windres} -I "${pe_src}" "${pe_src}/${rc}.rc" -O coff -o "${res}"
    COMMAND ${gcc} ${link_kind} -Os -s -Wl,--no-insert-timestamp -DSAMPLE_VERSION=${version_number}
            "${pe_src}/${source}" "${res}" -o "${bin}"
    DEPENDS "${pe_src}/${rc}.rc" "${pe_src}/versionblock.rc" "${pe_src}/${source}"
    COMMENT "Sample binary ${place}" VERBATIM)
  set(sample_binaries ${sample_binaries} "${bin}" PARENT_SCOPE)
endfunction()

if(MINGW_GCC AND MINGW_WINDRES)
  sample_binary(fncmain.exe fncmain fncmain.c exe 1 bin/fncmain.exe)
  sample_binary(fnccore.dll fnccore samplelib.c dll 12 bin/fnccore.dll)
  sample_binary(fncshared.dll fncshared samplelib.c dll 7 system/fncshared.dll)
  sample_binary(fncplat_nt.dll fncplat_nt samplelib.c dll 4 variants/nt/fncplat.dll)
  sample_binary(fncplat_9x.dll fncplat_9x samplelib.c dll 3 variants/9x/fncplat.dll)
  if(MINGW32_GCC AND MINGW32_WINDRES)
    sample_binary(fnclegacy.dll fnclegacy samplelib.c dll 2 bin/fnclegacy.dll ${MINGW32_GCC} ${MINGW32_WINDRES})
  endif()
else()
  message(WARNING "mingw-w64 not found: the sample product has no Windows binaries")
endif()

file(GLOB_RECURSE sample_texts CONFIGURE_DEPENDS "${sample_src}/sample-product/*")
# A text of about 150 KB, so that cabinets with several data blocks are published too.
set(sample_large "${pe_out}/bin/fncaccounts.txt")
add_custom_command(OUTPUT "${sample_large}"
  COMMAND ${CMAKE_COMMAND} -DOUT=${sample_large} -P "${CMAKE_CURRENT_SOURCE_DIR}/makeaccounts.cmake"
  DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/makeaccounts.cmake" VERBATIM)

# Copies keep the source dates (copy_directory does), and the stamp orders the rebuild.
add_custom_command(OUTPUT "${CMAKE_BINARY_DIR}/sample-product.stamp"
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${PLANDRIX_SAMPLE_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${sample_src}/sample-product" "${PLANDRIX_SAMPLE_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy_directory "${pe_out}" "${PLANDRIX_SAMPLE_DIR}"
  COMMAND ${CMAKE_COMMAND} -E touch "${CMAKE_BINARY_DIR}/sample-product.stamp"
  DEPENDS ${sample_texts} ${sample_binaries} "${sample_large}"
  COMMENT "Assembling the sample product in ${PLANDRIX_SAMPLE_DIR}" VERBATIM)
add_custom_target(sample_product ALL DEPENDS "${CMAKE_BINARY_DIR}/sample-product.stamp")
