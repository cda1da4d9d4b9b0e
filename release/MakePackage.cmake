# cmake -DBUILD_DIR=... -DSTAGE=... -DPACKAGE=... -P MakePackage.cmake
# Lays the release out with cmake --install, writes SHA256SUMS over every file and zips the folder,
# so that the zip holds one folder named like itself.
foreach(v BUILD_DIR STAGE PACKAGE)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "MakePackage.cmake needs -D${v}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE}
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed")
endif()

file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
set(sums "")
foreach(f IN LISTS files)
  file(SHA256 ${STAGE}/${f} sum)
  string(APPEND sums "${sum} *${f}\n")
endforeach()
file(WRITE ${STAGE}/SHA256SUMS "${sums}")

get_filename_component(parent ${STAGE} DIRECTORY)
get_filename_component(folder ${STAGE} NAME)
file(REMOVE ${PACKAGE})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${PACKAGE} --format=zip ${folder}
                WORKING_DIRECTORY ${parent} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "zipping ${folder} failed")
endif()
message(STATUS "${PACKAGE}")
