# What a setup host team installs: self-contained binaries that carry the project's version, their
# debugging information kept apart, and one package (see release/ and scripts/package.sh).

set(RELEASE_COMPANY "Tarvena")
set(RELEASE_PRODUCT "Wirax and Formwell installer plug-ins")
set(RELEASE_COPYRIGHT "Copyright (C) 2026 Tarvena")
set(RELEASE_PACKAGE_NAME "WiraxUI-${PROJECT_VERSION}-win64")

# The shipped targets, which the package is made of.
set_property(GLOBAL PROPERTY RELEASE_TARGETS "")

# Marks TARGET as shipped: a version resource with DESCRIPTION, and installed stripped with its
# debugging information in debug/NAME.debug. (strip and objcopy stamp what they write with the
# time in SOURCE_DATE_EPOCH, which the packaging sets to the commit's.) (Its runtime is linked in like every binary's, by the
# top-level -static: a loose runtime DLL is missing on the target, or another version of it is
# already in the host's process.)
function(ship_binary target)
  cmake_parse_arguments(S "" "DESCRIPTION" "" ${ARGN})
  get_target_property(type ${target} TYPE)
  get_target_property(output ${target} OUTPUT_NAME)
  if(NOT output)
    set(output ${target})
  endif()
  if(type STREQUAL "EXECUTABLE")
    set(VERSION_FILE_TYPE VFT_APP)
    set(VERSION_FILE_NAME ${output}.exe)
  else()
    set(VERSION_FILE_TYPE VFT_DLL)
    set(VERSION_FILE_NAME ${output}.dll)
  endif()
  set(VERSION_DESCRIPTION "${S_DESCRIPTION}")
  set(VERSION_INTERNAL_NAME ${output})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # What the link took in, read by the package's bill of materials (release/make-bom.py).
  target_link_options(${target} PRIVATE -Wl,-Map=${CMAKE_BINARY_DIR}/link-maps/${VERSION_FILE_NAME}.map)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/link-maps)

  install(TARGETS ${target} RUNTIME DESTINATION .)
  install(CODE "
    set(shipped \"\${CMAKE_INSTALL_PREFIX}/${VERSION_FILE_NAME}\")
    set(symbols \"\${CMAKE_INSTALL_PREFIX}/debug/${VERSION_FILE_NAME}.debug\")
    file(MAKE_DIRECTORY \"\${CMAKE_INSTALL_PREFIX}/debug\")
    foreach(step \"${CMAKE_OBJCOPY};--only-keep-debug;\${shipped};\${symbols}\"
                 \"${CMAKE_STRIP};--strip-all;\${shipped}\"
                 \"${CMAKE_OBJCOPY};--add-gnu-debuglink=\${symbols};\${shipped}\")
      execute_process(COMMAND \${step} RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR \"\${step} failed\")
      endif()
    endforeach()")
  set_property(GLOBAL APPEND PROPERTY RELEASE_TARGETS ${target})
endfunction()
