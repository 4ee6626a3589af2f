#pragma once

#include <sys/types.h>

#include <string>

namespace gui_test {

// An Xvfb server of its own on a display number it picks itself; stopped on destruction.
class VirtualDisplay {
  public:
    VirtualDisplay(int width = 1280, int height = 1024);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    const std::string& name() const { return name_; }  // e.g. ":93"

  private:
    pid_t pid_ = -1;
    std::string name_;
};

}  // namespace gui_test
