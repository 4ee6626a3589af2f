# What the Windows build needs in place of the Linux packages.

# A windowed program, one file the player can copy: no MinGW runtime DLLs beside it, only
# Windows' own DLLs are imported.
add_link_options(-static -static-libgcc -static-libstdc++)

# windows.h without the old winsock.h (the launcher uses winsock2.h, and the C++ thread
# headers include windows.h first) and without min and max macros.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

# GCC 12 warns wrongly about "text" + std::string in optimised 32-bit builds (GCC bug
# 105329); the warning says nothing about our code there.
add_compile_options(-Wno-restrict)

# nlohmann-json is header-only: take Debian's headers through a directory that holds
# nothing else, because adding /usr/include itself would put the build machine's C
# library headers in front of MinGW's.
set(json_include ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${json_include})
if(NOT EXISTS ${json_include}/nlohmann)
    if(NOT EXISTS /usr/include/nlohmann/json.hpp)
        message(FATAL_ERROR "nlohmann/json.hpp not found in /usr/include: install nlohmann-json3-dev")
    endif()
    file(CREATE_LINK /usr/include/nlohmann ${json_include}/nlohmann SYMBOLIC)
endif()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${json_include})
