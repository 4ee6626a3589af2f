#include "core/fetch_page.h"

namespace core {

std::string fetchPage(const std::string& address) {
    return fetchPageReply(address).body;
}

}  // namespace core
