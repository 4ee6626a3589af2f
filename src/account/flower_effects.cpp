#include "account/flower_effects.h"

#include "platform/remove_tree.h"

namespace account {
namespace {

constexpr const char* flowerEffectDirectories[] = {
    "c3/effect/other/white-flower-full",   "c3/effect/other/flower-rainr",
    "c3/effect/other/flower-rainw",        "c3/effect/other/flower-red",
    "c3/effect/other/flower-white",        "c3/effect/other/NEW-flower-charm1",
    "c3/effect/other/NEW-flower-full",     "c3/effect/other/tulip-flower-charm1",
    "c3/effect/other/tulip-flower-charm2", "c3/effect/other/tulip-flower-charm3",
    "c3/effect/other/tulip-flower-full",   "c3/effect/other/tulip-flower-g-1",
    "c3/effect/other/tulip-flower-rain",
};

}  // namespace

bool removeFlowerEffects(const std::string& gameDirectory) {
    bool all = true;
    for (const char* directory : flowerEffectDirectories) {
        all = platform::removeTreeBeneath(gameDirectory, directory) && all;
    }
    return all;
}

}  // namespace account
