#include "platform/encoding.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/utf8_text.h"

namespace platform {
namespace {

// One converter per thread and direction: an iconv descriptor carries shift state and
// must not be shared between threads.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert between GBK and UTF-8");
        }
    }
    ~Converter() { iconv_close(cd_); }

    std::string convert(std::string_view in, std::string_view replacement, size_t invalidSkip) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(in.size() * 3 / 2 + 4);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (r == static_cast<size_t>(-1)) {
                if (errno == E2BIG) {
                    continue;
                }
                // EILSEQ or EINVAL (a truncated sequence at the end): replace and move on.
                out.append(replacement);
                size_t skip = std::min(srcLeft, errno == EINVAL ? srcLeft : invalidSkip);
                if (errno == EILSEQ && invalidSkip == 0) {
                    skip = utf8SequenceLength(static_cast<unsigned char>(*src), srcLeft);
                }
                src += skip;
                srcLeft -= skip;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        return out;
    }

  private:
    static size_t utf8SequenceLength(unsigned char lead, size_t left) {
        size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        return std::min(n, left);
    }
    iconv_t cd_;
};

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "GBK");
    return converter.convert(gbk, "\xEF\xBF\xBD", 1);
}

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter("GBK", "UTF-8");
    // Once every malformed sequence is one U+FFFD, which GBK lacks, what iconv rejects is
    // always one whole character: one "?" each, and nothing after it is lost.
    return converter.convert(wellFormedUtf8(utf8), "?", 0);
}

}  // namespace platform
