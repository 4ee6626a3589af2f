#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// Profile (INI) files as the launcher and the game read them: "[section]" lines open a
// section (the name ends at the first "]", anything after it on the line is ignored),
// "key=value" lines give values, lines starting with ";" are comments. Section
// and key names match with ASCII letters folded; GBK bytes compare exactly. Only the first
// section of a name is searched and within it the first matching key wins. Spaces and
// tabs around names and values are ignored, a value in a matching pair of quotes loses
// them, a value ends at a zero byte and is cut to profileValueLimit bytes. Anything
// missing reads as "".
inline constexpr std::size_t profileValueLimit = 10239;

std::string profileValue(std::string_view file, std::string_view section, std::string_view key);

struct ProfileKey {
    std::string_view section;
    std::string_view key;
};

// The values of many keys from one pass over the file, in the order asked: time grows
// with the file's size, memory only with the number of keys.
std::vector<std::string> profileValues(std::string_view file, std::span<const ProfileKey> keys);

// The file's bytes with one key set: the key's line in the first section of that name is
// rewritten (or the key, or the section and the key, appended) and every other byte is
// kept. A value stops at a line break, which would otherwise start new lines of the file.
std::string withProfileValue(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value);

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key);

// Creates the file when its folder exists, never the folder; replaces it atomically.
// A file that exists but cannot be read is left alone. Returns whether the value is there.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace core
