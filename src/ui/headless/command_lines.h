#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// Cuts the automation input into command lines as it arrives in chunks. Each byte is looked
// at once, however a line is cut into chunks, and no more than one line's worth of bytes is
// kept, however long a line the other side sends.
class CommandLines {
  public:
    // The longest command, in bytes before its line end.
    static constexpr std::size_t maxLength = std::size_t{1} << 20;

    struct Line {
        std::string text;     // without its line end
        std::string problem;  // why the line is no command, empty for a good one
    };

    // The lines this chunk completes, in order.
    std::vector<Line> add(std::string_view chunk);
    // The end of input: the last line, when it had no line end; empty otherwise.
    std::vector<Line> end();

  private:
    void take(std::string_view piece);
    Line finish();

    std::string partial_;
    bool tooLong_ = false;
};

// Whether the bytes are well-formed UTF-8: no stray continuation bytes, no cut sequences,
// no overlong forms, no surrogates, nothing above U+10FFFF.
bool isUtf8(std::string_view bytes);

}  // namespace ui
