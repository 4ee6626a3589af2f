# The skin's pictures, compiled into the program: assets/*.bmp become one generated source of
# raw RGB arrays in the library launcher_pictures, which launcher_ui links.
file(GLOB picture_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.bmp)
set(pictures_source ${CMAKE_BINARY_DIR}/generated/pictures_data.cpp)
add_custom_command(
    OUTPUT ${pictures_source}
    COMMAND ${CMAKE_COMMAND} -DASSETS_DIR=${CMAKE_SOURCE_DIR}/assets -DOUTPUT=${pictures_source}
            -P ${CMAKE_SOURCE_DIR}/cmake/embed_pictures.cmake
    DEPENDS ${picture_files} ${CMAKE_SOURCE_DIR}/cmake/embed_pictures.cmake
    COMMENT "Compiling the skin's pictures into the program"
    VERBATIM)
add_library(launcher_pictures STATIC ${pictures_source})
target_include_directories(launcher_pictures PUBLIC ${CMAKE_SOURCE_DIR}/src)
