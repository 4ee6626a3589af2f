#pragma once

#include <string_view>

namespace app {

// The PEM text of the operator's public key this launcher was built with (the build
// setting LAUNCHER_PATCH_KEY); empty when it was built without one.
std::string_view builtInPatchKey();

}  // namespace app
