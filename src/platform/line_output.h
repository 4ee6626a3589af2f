#pragma once

#include <cstdio>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace platform {

// Makes "\n" the only line end written to stream. The Windows C runtime opens its streams
// in text mode and would write "\r\n" for every line; Linux writes bytes as they are.
inline void keepLineEnds(std::FILE* stream) {
#if defined(_WIN32)
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

}  // namespace platform
