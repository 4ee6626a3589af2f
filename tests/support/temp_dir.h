#pragma once

#include <string>

namespace testing_support {

// A fresh directory under the system's temporary folder, removed with all its content.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const;

  private:
    std::string path_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& content);
// Deterministic pseudo-random bytes, so a failure can be reproduced.
std::string randomBytes(std::size_t size, unsigned seed = 1);

}  // namespace testing_support
