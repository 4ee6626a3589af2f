#pragma once

#include <cstddef>
#include <string>

namespace testing_support {

// Whole files and test bodies for the download tests.
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
// Deterministic pseudo-random bytes, so a failure can be reproduced.
std::string randomBytes(std::size_t size, unsigned seed = 1);

}  // namespace testing_support
