#include "core/profile_file.h"

#include <optional>

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

// Where a section name ends: at the first "]" that is a character of its own, never the
// second byte of a Chinese character; without one, at the end of the line.
std::size_t sectionNameEnd(std::string_view inside) {
    for (std::size_t at = 0; at < inside.size();) {
        if (inside[at] == ']') {
            return at;
        }
        at += isGbkLeadByte(static_cast<unsigned char>(inside[at])) ? 2 : 1;
    }
    return inside.size();
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
        line.kind = LineKind::Section;
        line.name = trimmed(inside.substr(0, sectionNameEnd(inside)));
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

// Calls visit(line) for each line in order until it returns false. Only one line is held
// at a time, so a file of any number of lines costs no more memory than a short one.
template <typename Visit>
void forEachLine(std::string_view file, Visit visit) {
    for (std::size_t at = 0; at < file.size();) {
        Line line = parseLine(file, at);
        if (!visit(line)) {
            return;
        }
        at = line.end;
    }
}

std::string valueText(const Line& entry) {
    return std::string(withoutQuotes(trimmed(entry.value)).substr(0, profileValueLimit));
}

// Where a key lives: the first section of the name and, inside it, the first entry.
struct Place {
    std::optional<Line> section;
    std::optional<Line> entry;
    std::optional<Line> lastEntry;  // last entry line of the section
};

Place findKey(std::string_view file, std::string_view section, std::string_view key) {
    Place place;
    forEachLine(file, [&](const Line& line) {
        if (line.kind == LineKind::Section) {
            if (place.section) {
                return false;
            }
            if (sameNameIgnoringCase(line.name, section)) {
                place.section = line;
            }
        } else if (line.kind == LineKind::Entry && place.section) {
            place.lastEntry = line;
            if (!place.entry && sameNameIgnoringCase(line.name, key)) {
                place.entry = line;
            }
        }
        return true;
    });
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

std::vector<std::string> profileValues(std::string_view file, std::span<const ProfileKey> keys) {
    struct Wanted {
        std::string_view section;
        std::string_view key;
        bool sectionPassed = false;  // its first section has begun: later ones do not count
        bool inSection = false;
        bool found = false;
    };
    std::vector<Wanted> wanted;
    wanted.reserve(keys.size());
    for (const ProfileKey& k : keys) {
        wanted.push_back({textOf(k.section), textOf(k.key)});
    }
    std::vector<std::string> values(keys.size());
    // Keys still to be looked for; the scan stops as soon as none is left.
    std::size_t open = keys.size();

    forEachLine(file, [&](const Line& line) {
        if (line.kind == LineKind::Section) {
            for (Wanted& w : wanted) {
                if (w.inSection) {
                    w.inSection = false;
                    if (!w.found) {
                        --open;
                    }
                }
                if (!w.sectionPassed && sameNameIgnoringCase(line.name, w.section)) {
                    w.sectionPassed = true;
                    w.inSection = true;
                }
            }
        } else if (line.kind == LineKind::Entry) {
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                Wanted& w = wanted[i];
                if (w.inSection && !w.found && sameNameIgnoringCase(line.name, w.key)) {
                    w.found = true;
                    --open;
                    values[i] = valueText(line);
                }
            }
        }
        return open > 0;
    });
    return values;
}

std::string profileValue(std::string_view file, std::string_view section, std::string_view key) {
    ProfileKey wanted[] = {{section, key}};
    return std::move(profileValues(file, wanted).front());
}

std::string withProfileValue(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value) {
    section = textOf(section);
    key = textOf(key);
    value = textOf(value);
    value = value.substr(0, value.find_first_of("\r\n"));
    std::string_view eol = lineEndingOf(file);

    Place place = findKey(file, section, key);
    std::string result;
    if (place.entry) {
        const Line& line = *place.entry;
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
        std::size_t after = place.lastEntry ? place.lastEntry->end : place.section->end;
        result.append(file.substr(0, after));
        result.append(endOfLastLine(result, eol));
        result.append(entry);
        result.append(file.substr(after));
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
