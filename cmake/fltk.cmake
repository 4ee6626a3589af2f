# The window front end: the only code that includes FLTK.
# Debian's FLTK CMake package needs the separate fluid tool installed, so the library is
# looked up directly.
find_path(FLTK_INCLUDE_DIR FL/Fl.H REQUIRED)
find_library(FLTK_LIBRARY fltk REQUIRED)
find_package(X11 REQUIRED)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
file(GLOB_RECURSE fltk_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/fltk/*.cpp)
if(fltk_sources)
    add_library(launcher_fltk STATIC ${fltk_sources})
    target_include_directories(launcher_fltk PUBLIC ${CMAKE_SOURCE_DIR}/src PRIVATE ${FLTK_INCLUDE_DIR})
    target_link_libraries(launcher_fltk PUBLIC launcher_ui ${FLTK_LIBRARY} X11::X11 X11::Xext
        PkgConfig::FONTCONFIG)
    target_link_libraries(launcher_app PUBLIC launcher_fltk)
    target_compile_definitions(launcher_app PRIVATE LAUNCHER_HAS_FLTK=1)
endif()
