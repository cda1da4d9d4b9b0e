# Qt 5 Core for the target. scripts/setup.sh cross-builds it once from Debian's qtbase source into
# the dependency cache; the build tree's own headers (qconfig.h) come first, the source tree's
# forwarding headers after them.
# The folder name follows scripts/setup.sh's QT_VERSION_DIR.
set(QT5CORE_BUILD_DIR ${DEPS_CACHE}/qt5-core-win64-repro)
set(QT5CORE_SOURCE_DIR ${DEPS_CACHE}/qtbase-src)
# Only FormwellChecks and what plays or packages it need Qt: without it the electrical plug-in, its
# stand-ins and the runner still build, and the rest waits until scripts/setup.sh has built Qt.
if(NOT EXISTS ${QT5CORE_BUILD_DIR}/.complete OR NOT EXISTS ${QT5CORE_BUILD_DIR}/lib/libQt5Core.a)
  set(WITH_FORMWELL OFF)
  message(STATUS "Qt 5 Core is not built yet (${QT5CORE_BUILD_DIR}): FormwellChecks, its tests and the "
                 "package are left out; scripts/test.sh and scripts/package.sh build Qt first")
  return()
endif()
set(WITH_FORMWELL ON)

find_file(QT5CORE_DLL Qt5Core.dll PATHS ${QT5CORE_BUILD_DIR}/lib ${QT5CORE_BUILD_DIR}/bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT QT5CORE_DLL)
  message(FATAL_ERROR "Qt5Core.dll not found in ${QT5CORE_BUILD_DIR}; run scripts/setup.sh")
endif()

add_library(Qt5::Core SHARED IMPORTED GLOBAL)
set_target_properties(Qt5::Core PROPERTIES
  IMPORTED_LOCATION ${QT5CORE_DLL}
  IMPORTED_IMPLIB ${QT5CORE_BUILD_DIR}/lib/libQt5Core.a
  INTERFACE_INCLUDE_DIRECTORIES
    "${QT5CORE_BUILD_DIR}/include;${QT5CORE_BUILD_DIR}/include/QtCore;${QT5CORE_SOURCE_DIR}/include;${QT5CORE_SOURCE_DIR}/include/QtCore;${QT5CORE_SOURCE_DIR}/mkspecs/win32-g++"
  INTERFACE_COMPILE_DEFINITIONS "QT_CORE_LIB;QT_NO_DEBUG")

# Programs find Qt5Core.dll beside them, with the mingw runtime it was built against.
configure_file(${QT5CORE_DLL} ${BIN_DIR}/Qt5Core.dll COPYONLY)
