#include "core/profile_file.h"

#include <optional>
#include <vector>

#include "core/gbk_text.h"
#include "platform/files.h"

namespace core {
namespace {

std::string_view trimmed(std::string_view text) {
    auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

enum class LineKind { Other, Section, Entry };

// One line of the file: where it starts, where its content ends (before CR LF or LF) and
// where the next line starts, with the meaning of its text (up to a zero byte).
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t end = 0;
    LineKind kind = LineKind::Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // raw text after "=", empty without one
    std::optional<std::size_t> equals;
};

Line parseLine(std::string_view file, std::size_t begin) {
    Line line;
    line.begin = begin;
    auto newline = file.find('\n', begin);
    line.end = newline == std::string_view::npos ? file.size() : newline + 1;
    line.contentEnd = newline == std::string_view::npos ? file.size() : newline;
    if (line.contentEnd > begin && file[line.contentEnd - 1] == '\r') {
        --line.contentEnd;
    }
    std::string_view text = textOf(file.substr(begin, line.contentEnd - begin));
    std::string_view start = trimmed(text);
    if (start.empty() || start.front() == ';') {
        return line;
    }
    if (start.front() == '[') {
        std::string_view inside = start.substr(1);
        // The last bracket closes the name: a GBK character may end in the byte of "]".
        auto close = inside.rfind(']');
        line.kind = LineKind::Section;
        line.name = trimmed(close == std::string_view::npos ? inside : inside.substr(0, close));
        return line;
    }
    line.kind = LineKind::Entry;
    auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.name = start;
        return line;
    }
    line.equals = begin + equals;
    line.name = trimmed(text.substr(0, equals));
    line.value = text.substr(equals + 1);
    return line;
}

std::vector<Line> parseLines(std::string_view file) {
    std::vector<Line> lines;
    for (std::size_t at = 0; at < file.size();) {
        lines.push_back(parseLine(file, at));
        at = lines.back().end;
    }
    return lines;
}

// Where a key lives: the first section of the name and, inside it, the first entry.
struct Place {
    std::optional<std::size_t> section;  // index of the header line
    std::optional<std::size_t> entry;    // index of the key's line
    std::size_t lastEntry = 0;           // last entry line of the section, or its header
};

Place findKey(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Place place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == LineKind::Section) {
            if (place.section) {
                break;
            }
            if (sameNameIgnoringCase(line.name, section)) {
                place.section = i;
                place.lastEntry = i;
            }
        } else if (line.kind == LineKind::Entry && place.section) {
            place.lastEntry = i;
            if (!place.entry && sameNameIgnoringCase(line.name, key)) {
                place.entry = i;
            }
        }
    }
    return place;
}

std::string_view lineEndingOf(std::string_view file) {
    auto newline = file.find('\n');
    if (newline != std::string_view::npos && (newline == 0 || file[newline - 1] != '\r')) {
        return "\n";
    }
    return "\r\n";
}

// What ends an unfinished last line: a CR already there only needs its LF.
std::string_view endOfLastLine(std::string_view before, std::string_view eol) {
    if (before.empty() || before.back() == '\n') {
        return {};
    }
    return before.back() == '\r' ? "\n" : eol;
}

}  // namespace

std::string profileValue(std::string_view file, std::string_view section, std::string_view key) {
    auto lines = parseLines(file);
    Place place = findKey(lines, textOf(section), textOf(key));
    if (!place.entry) {
        return {};
    }
    std::string_view value = withoutQuotes(trimmed(lines[*place.entry].value));
    return std::string(value.substr(0, profileValueLimit));
}

std::string withProfileValue(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value) {
    section = textOf(section);
    key = textOf(key);
    value = textOf(value);
    value = value.substr(0, value.find_first_of("\r\n"));
    std::string_view eol = lineEndingOf(file);

    auto lines = parseLines(file);
    Place place = findKey(lines, section, key);
    std::string result;
    if (place.entry) {
        const Line& line = lines[*place.entry];
        std::size_t keep = line.equals ? *line.equals + 1 : line.begin;
        result.append(file.substr(0, keep));
        if (!line.equals) {
            std::string_view content =
                textOf(file.substr(line.begin, line.contentEnd - line.begin));
            result.append(content.substr(0, content.find_last_not_of(" \t") + 1));
            result.append("=");
        }
        result.append(value);
        result.append(file.substr(line.contentEnd));
        return result;
    }

    std::string entry = std::string(key) + "=" + std::string(value) + std::string(eol);
    if (place.section) {
        const Line& after = lines[place.lastEntry];
        result.append(file.substr(0, after.end));
        result.append(endOfLastLine(result, eol));
        result.append(entry);
        result.append(file.substr(after.end));
        return result;
    }

    result.append(file);
    result.append(endOfLastLine(file, eol));
    result.append("[").append(section).append("]").append(eol).append(entry);
    return result;
}

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key) {
    auto file = platform::readFile(path);
    return file ? profileValue(*file, section, key) : std::string();
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    auto file = platform::readFile(path);
    if (!file && platform::fileExists(path)) {
        return false;
    }
    std::string updated = withProfileValue(file.value_or(""), section, key, value);
    if (file && updated == *file) {
        return true;
    }
    return platform::writeFileAtomically(path, updated);
}

}  // namespace core
