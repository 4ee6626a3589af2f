#include "check/patch_site_check.h"

#include <limits>

#include "check/patch_request.h"
#include "game/download/reply_head.h"
#include "game/download/request.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;

const char* const name = "patchSite";

// What the download would make of the answer to a range from the start of the file.
CheckResult judge(const game::ReplyHead& head, const std::string& at) {
    if (head.status == 200) {
        return failed(name, "no ranges: " + at +
                                " answers Range: bytes=0-0 with 200 and the whole file, so "
                                "players fetch the patch over one connection");
    }
    if (head.status != 206) {
        std::string stops = head.status == 400 || head.status == 403 || head.status == 404
                                ? ": the download fails there"
                                : ", which the download does not accept";
        return failed(name, "HTTP " + std::to_string(head.status) + " for " + at + stops);
    }
    if (!head.contentRange) {
        return failed(name, "no size: " + at + " answers 206 without a usable Content-Range");
    }
    if (!head.contentRange->total) {
        return failed(name,
                      "no size: " + at + " answers 206 with a Content-Range of unknown total");
    }
    if (!game::rangeReplyFits(head, 0)) {
        return failed(name, at + " answers Range: bytes=0-0 with another stretch of the file");
    }
    std::int64_t size = *head.contentRange->total;
    if (size > std::numeric_limits<std::int32_t>::max()) {
        return failed(name, std::to_string(size) + " bytes at " + at +
                                ": larger than the download can fetch");
    }
    return passed(name, std::to_string(size) + " bytes at " + at);
}

}  // namespace

CheckResult checkPatchSite(const PageFindings& page) {
    PatchLocation patch = locatePatch(page);
    if (!patch.url) {
        return notChecked(name, patch.noUrlBecause);
    }
    if (!patch.address) {
        return failed(name,
                      "the patch address " + *patch.url + " is not one the download can fetch");
    }
    PatchRequest request(Clock::now() + patchSiteDeadline,
                         std::to_string(patchSiteDeadline.count()) + " s");
    // The first byte, as a download's later connections ask for their parts.
    if (!request.send(*patch.address, game::defaultReferer(*patch.url), 0, 0)) {
        return failed(name, request.failure());
    }
    CheckResult result = judge(request.head(), request.at());
    int redirects = request.redirects();
    if (result.ok && redirects > 0) {
        result.detail += " (after " + std::to_string(redirects) +
                         (redirects == 1 ? " redirect)" : " redirects)");
    }
    return result;
}

}  // namespace check
