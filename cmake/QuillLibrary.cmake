# libquillui: everything under quillui/, the window framework, its platform backends and the
# library folders above them. Sources are picked up from the tree, so adding a file to a layer
# needs no edit here.
file(GLOB_RECURSE QUILL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/quillui/*.cpp)
file(GLOB_RECURSE QUILL_HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/quillui/*.h)

add_library(quillui SHARED ${QUILL_SOURCES} ${QUILL_HEADERS})
add_library(QuillUI::quillui ALIAS quillui)
# Where the installed art lies, the art directory's default.
target_compile_definitions(quillui PRIVATE
  QUILL_INSTALLED_ART_DIR="${CMAKE_INSTALL_FULL_DATADIR}/quillui/art")

# The library's resource script, compiled at build time by quill-rc into a source that
# registers the resources (see quillui/resources/library_module.cpp).
file(GLOB QUILL_RC_BITMAPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/quillui/resources/*.bmp)
set(QUILL_RC_OUTPUT ${PROJECT_BINARY_DIR}/generated/quillui_resources.cpp)
add_custom_command(OUTPUT ${QUILL_RC_OUTPUT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/generated
  COMMAND quill-rc ${PROJECT_SOURCE_DIR}/quillui/resources/quillui.rc -o ${QUILL_RC_OUTPUT}
          --function RegisterLibraryResources
  DEPENDS quill-rc ${PROJECT_SOURCE_DIR}/quillui/resources/quillui.rc ${QUILL_RC_BITMAPS}
  COMMENT "Compiling the library's resource script"
  VERBATIM)
target_sources(quillui PRIVATE ${QUILL_RC_OUTPUT})
set_target_properties(quillui PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR}
  EXPORT_NAME quillui
  OUTPUT_NAME quillui)
# Headers are included as <quillui/<layer>/...>: the include root is the folder above quillui/.
target_include_directories(quillui PUBLIC
  $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
# A consumer that sets no standard still compiles the headers.
target_compile_features(quillui PUBLIC cxx_std_20)
find_package(Freetype REQUIRED)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
find_package(Threads REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
# Xlib itself, for the handler that takes over when the connection under SDL's window dies.
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
# Calls inside the library need not go through the PLT (and so can be inlined): nobody
# interposes the library's own functions.
target_compile_options(quillui PRIVATE $<$<CXX_COMPILER_ID:GNU>:-fno-semantic-interposition>)
target_link_libraries(quillui PRIVATE quill_flags PNG::PNG Freetype::Freetype PkgConfig::FONTCONFIG
                      PkgConfig::SDL2 PkgConfig::X11 Threads::Threads)
# Sanitizer flags must reach everything that links the library.
if(QUILL_SANITIZE)
  target_link_options(quillui PUBLIC -fsanitize=address,undefined)
endif()

# Installation: the library, its headers under include/quillui/<layer>/, a CMake package
# (find_package(QuillUI) -> QuillUI::quillui) and a pkg-config file.
install(TARGETS quillui EXPORT QuillUITargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The public headers: the SDL backends (whose headers name SDL types) and the library's
# internal headers (*_internal.h) stay behind.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/quillui/
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quillui
  FILES_MATCHING PATTERN "*.h"
  PATTERN "sdl" EXCLUDE
  PATTERN "*_internal.h" EXCLUDE)
install(EXPORT QuillUITargets NAMESPACE QuillUI::
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QuillUI)
include(CMakePackageConfigHelpers)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuillUIConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuillUIConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QuillUI)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuillUIConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuillUIConfig.cmake ${PROJECT_BINARY_DIR}/QuillUIConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/QuillUI)
# The .pc file finds its prefix from where it lies, so an install with --prefix works too.
file(RELATIVE_PATH QUILL_PC_TO_PREFIX "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig" "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/$" "" QUILL_PC_TO_PREFIX "${QUILL_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/quillui.pc.in ${PROJECT_BINARY_DIR}/quillui.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quillui.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The library's art, made by quill-art at build time and installed with the library.
file(GLOB QUILL_ART_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/quill-art/*.cpp)
add_executable(quill-art ${QUILL_ART_SOURCES})
target_link_libraries(quill-art PRIVATE quillui quill_flags)
set(QUILL_ART_DIR ${PROJECT_BINARY_DIR}/art)
set(QUILL_ART_FILES palette.bmp background640.bmp background800.bmp background1024.bmp
    backtile.bmp title.bmp label.bmp buttons.set clkpmenu.wav btnpress.wav btnrelse.wav)
list(TRANSFORM QUILL_ART_FILES PREPEND ${QUILL_ART_DIR}/ OUTPUT_VARIABLE QUILL_ART_PATHS)
add_custom_command(
  OUTPUT ${QUILL_ART_PATHS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILL_ART_DIR}
  COMMAND quill-art all ${QUILL_ART_DIR}
  DEPENDS quill-art
  COMMENT "Making the library's art")
add_custom_target(quill-art-files ALL DEPENDS ${QUILL_ART_PATHS})
install(FILES ${QUILL_ART_PATHS} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillui/art)
# The button strips and the icons, made by the same command.
install(DIRECTORY ${QUILL_ART_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/quillui/art
        FILES_MATCHING PATTERN "*.bmp")
