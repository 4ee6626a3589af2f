#include "check/patch_signature_check.h"

#include <limits>

#include "check/patch_request.h"
#include "core/fetch_page.h"
#include "game/download/request.h"
#include "game/patch_signature.h"

namespace check {
namespace {

using Clock = std::chrono::steady_clock;

const char* const name = "patchSignature";
const std::string refused = "; players' launchers refuse the patch";

std::string seconds(std::chrono::seconds limit) {
    return std::to_string(limit.count()) + " s";
}

std::string bytesOf(std::int64_t done, std::int64_t total) {
    return std::to_string(done) + " of " + std::to_string(total) + " bytes";
}

// Fetches the whole patch into the signature check, as the download's first connection
// asks for it: a 200 whose Content-Length gives the size. Nullopt once it has all arrived;
// otherwise why it could not be read.
std::optional<std::string> hashPatch(const PatchLocation& patch, game::PatchSignatureCheck& hash,
                                     std::int64_t& size) {
    PatchRequest request(Clock::now() + patchFetchDeadline, seconds(patchFetchDeadline));
    if (!request.send(*patch.address, game::defaultReferer(*patch.url))) {
        return request.failure();
    }
    const game::ReplyHead& head = request.head();
    if (head.status != 200) {
        return "HTTP " + std::to_string(head.status) + " for " + request.at() +
               " when asked for the whole file";
    }
    if (!head.contentLength) {
        return request.at() + " answers without a Content-Length, which the download needs";
    }
    if (*head.contentLength > std::numeric_limits<std::int32_t>::max()) {
        return std::to_string(*head.contentLength) + " bytes at " + request.at() +
               ": larger than the download can fetch";
    }
    size = *head.contentLength;
    std::int64_t done = 0;
    char buffer[16384];
    while (done < size) {
        long got = request.receive(
            buffer, static_cast<std::size_t>(std::min<std::int64_t>(sizeof buffer, size - done)));
        if (got == 0) {
            return request.at() + " closed the connection after " + bytesOf(done, size);
        }
        if (got < 0 && request.pastDeadline()) {
            return "not fetched within " + seconds(patchFetchDeadline) + " (" +
                   bytesOf(done, size) + " arrived), so its signature is not checked";
        }
        if (got < 0 && request.stalled()) {
            return "no data from " + request.at() + " for " + seconds(patchReceiveStep) +
                   " after " + bytesOf(done, size);
        }
        if (got < 0) {
            return "the connection to " + request.at() + " broke after " + bytesOf(done, size);
        }
        hash.add(std::string_view(buffer, static_cast<std::size_t>(got)));
        done += got;
    }
    return std::nullopt;
}

std::string missingDetail(const core::PageReply& reply, const std::string& at) {
    if (reply.status != 0) {
        return "no signature: HTTP " + std::to_string(reply.status) + " for " + at + refused +
               " (sign it and publish the signature beside it)";
    }
    if (reply.outcome == core::PageReply::Outcome::TimedOut) {
        return "no signature: no answer from " + at + " within " + seconds(signatureFetchDeadline) +
               refused;
    }
    return "no signature: no answer from " + at + refused;
}

std::string malformedDetail(const core::PageReply& reply, const std::string& at) {
    std::string whole;
    switch (reply.outcome) {
        case core::PageReply::Outcome::Complete:
        case core::PageReply::Outcome::NoAnswer:
            break;
        case core::PageReply::Outcome::TimedOut:
            whole = ", not whole within " + seconds(signatureFetchDeadline);
            break;
        case core::PageReply::Outcome::TooLarge:
            whole = ", far too large for one";
            break;
        case core::PageReply::Outcome::Broken:
            whole = ", cut off by a broken connection";
            break;
    }
    return "malformed signature: the " + std::to_string(reply.body.size()) + " bytes at " + at +
           whole +
           " are no ECDSA P-256 signature in the DER form `openssl dgst -sha256 -sign` "
           "writes" +
           refused;
}

}  // namespace

CheckResult checkPatchSignature(const PageFindings& page, std::string_view patchKey) {
    PatchLocation patch = locatePatch(page);
    if (!patch.url) {
        return notChecked(name, patch.noUrlBecause);
    }
    if (!patch.address) {
        return notChecked(name, "the patch address " + *patch.url +
                                    " is not one the download can fetch (see patchSite)");
    }
    game::PatchSignatureCheck signature(patchKey);
    std::int64_t size = 0;
    if (auto unreadable = hashPatch(patch, signature, size)) {
        return failed(name, "patch unreadable: " + *unreadable);
    }

    const std::string at = game::signatureAddress(*patch.url);
    core::PageReply reply;
    game::PatchVerdict verdict = signature.verify(*patch.url, [&reply](const std::string& address) {
        reply = core::fetchPageReply(address, core::PageLimits{.deadline = signatureFetchDeadline});
        return reply;
    });
    switch (verdict) {
        case game::PatchVerdict::Verified:
            return passed(name, "the signature at " + at + " verifies the " + std::to_string(size) +
                                    "-byte patch");
        case game::PatchVerdict::KeyUnusable:
            return failed(name, "the patch key built into this launcher is no P-256 public key");
        case game::PatchVerdict::FileUnreadable:
            return failed(name, "patch unreadable: not read to its end");
        case game::PatchVerdict::SignatureMissing:
            return failed(name, missingDetail(reply, at));
        case game::PatchVerdict::SignatureMalformed:
            return failed(name, malformedDetail(reply, at));
        case game::PatchVerdict::Mismatch:
            return failed(name, "signature mismatch: " + at + " does not sign the " +
                                    std::to_string(size) +
                                    "-byte patch with this launcher's key (a signature of "
                                    "another file, or made with another key)" +
                                    refused);
    }
    return failed(name, "no verdict");
}

}  // namespace check
