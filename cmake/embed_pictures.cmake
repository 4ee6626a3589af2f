# Turns every 24-bit BMP in ASSETS_DIR into raw RGB rows (top row first) inside one C++ file,
# OUTPUT, with a table of the pictures by name (the file name without ".bmp").
# Run as a script (cmake -P) so it works the same in a native and in a cross build.

if(NOT ASSETS_DIR OR NOT OUTPUT)
    message(FATAL_ERROR "embed_pictures: pass -DASSETS_DIR=... -DOUTPUT=...")
endif()

# Little-endian unsigned integer of SIZE bytes at OFFSET of FILE.
function(read_le file offset size result)
    file(READ "${file}" hex OFFSET ${offset} LIMIT ${size} HEX)
    string(LENGTH "${hex}" length)
    math(EXPR expected "${size} * 2")
    if(NOT length EQUAL expected)
        message(FATAL_ERROR "embed_pictures: ${file} is too short")
    endif()
    set(value "")
    math(EXPR last "${size} - 1")
    foreach(i RANGE ${last} 0 -1)
        math(EXPR at "${i} * 2")
        string(SUBSTRING "${hex}" ${at} 2 byte)
        string(APPEND value "${byte}")
    endforeach()
    math(EXPR value "0x${value}")
    set(${result} ${value} PARENT_SCOPE)
endfunction()

file(GLOB pictures "${ASSETS_DIR}/*.bmp")
list(SORT pictures)

# The output is written as it is made: a CMake string that grows to megabytes is copied on
# every append, which makes the build crawl.
set(temp "${OUTPUT}.tmp")
file(WRITE "${temp}"
"// Generated from the BMP files in assets/ by cmake/embed_pictures.cmake. Do not edit.
#include \"ui/picture_table.h\"

namespace ui {
namespace {

")
set(table "")
foreach(file ${pictures})
    get_filename_component(name "${file}" NAME_WE)
    if(NOT name MATCHES "^[a-z0-9_]+$")
        message(FATAL_ERROR "embed_pictures: ${file}: names are lower case, digits and _")
    endif()
    file(READ "${file}" magic LIMIT 2 HEX)
    read_le("${file}" 10 4 data_offset)
    read_le("${file}" 18 4 width)
    read_le("${file}" 22 4 height)
    read_le("${file}" 28 2 bits)
    read_le("${file}" 30 4 compression)
    if(NOT magic STREQUAL "424d" OR NOT bits EQUAL 24 OR NOT compression EQUAL 0)
        message(FATAL_ERROR "embed_pictures: ${file} is not an uncompressed 24-bit BMP")
    endif()
    # A negative height marks a picture stored top row first.
    set(top_down FALSE)
    if(height GREATER_EQUAL 2147483648)
        math(EXPR height "4294967296 - ${height}")
        set(top_down TRUE)
    endif()
    if(width LESS 1 OR height LESS 1)
        message(FATAL_ERROR "embed_pictures: ${file} has no pixels")
    endif()

    math(EXPR row_bytes "${width} * 3")
    math(EXPR stride "(${row_bytes} + 3) / 4 * 4")
    math(EXPR last_row "${height} - 1")
    file(SIZE "${file}" length)
    math(EXPR expected "${data_offset} + ${height} * ${stride}")
    if(length LESS expected)
        message(FATAL_ERROR "embed_pictures: ${file} is cut short")
    endif()
    set(chunk "const unsigned char ${name}_rgb[] =\n")
    foreach(row RANGE 0 ${last_row})
        if(top_down)
            set(stored ${row})
        else()
            math(EXPR stored "${last_row} - ${row}")
        endif()
        # Row by row from the file: cutting rows out of the whole picture held as one
        # string copies megabytes for every row, which took over a minute per build.
        math(EXPR offset "${data_offset} + ${stored} * ${stride}")
        file(READ "${file}" hex OFFSET ${offset} LIMIT ${row_bytes} HEX)
        # Stored blue, green, red; the launcher wants red, green, blue.
        string(REGEX REPLACE "(..)(..)(..)" "\\\\x\\3\\\\x\\2\\\\x\\1" rgb "${hex}")
        string(APPEND chunk "    \"${rgb}\"\n")
        if(row EQUAL last_row)
            string(APPEND chunk "    ;\n\n")
        endif()
        string(LENGTH "${chunk}" chunk_length)
        if(chunk_length GREATER 65536 OR row EQUAL last_row)
            file(APPEND "${temp}" "${chunk}")
            set(chunk "")
        endif()
    endforeach()
    string(APPEND table "    {\"${name}\", {${width}, ${height}, ${name}_rgb}},\n")
endforeach()

if(NOT table)
    message(FATAL_ERROR "embed_pictures: no pictures in ${ASSETS_DIR}")
endif()

file(APPEND "${temp}" "const NamedPicture table[] = {
${table}};

}  // namespace

std::span<const NamedPicture> pictureTable() { return table; }

}  // namespace ui
")
file(COPY_FILE "${temp}" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${temp}")
