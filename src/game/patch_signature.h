#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/fetch_page.h"
#include "platform/signature.h"

namespace game {

// How a patch fared against the signature the operator publishes beside it.
enum class PatchVerdict {
    Verified,
    KeyUnusable,         // the launcher's key is no P-256 public key
    FileUnreadable,      // the patch could not be read to its end
    SignatureMissing,    // no answer, or an answer other than 200
    SignatureMalformed,  // not a signature in strict DER
    Mismatch,            // a signature, but not of this patch with this key
};

// Reads a web address with the status of its answer.
using ReplyFetch = std::function<core::PageReply(const std::string& address)>;

// The launcher's own ReplyFetch: the page fetch with its usual limits.
inline core::PageReply fetchSignatureReply(const std::string& address) {
    return core::fetchPageReply(address, core::PageLimits{});
}

// Where the signature of a patch is published: beside it, the patch address with ".sig"
// added. Blanks are escaped as the download escapes them in its request, so both requests
// name the same place.
std::string signatureAddress(const std::string& patchAddress);

// Checks one patch against the operator's key: its bytes are hashed as they are read, then
// the signature is fetched and checked.
class PatchSignatureCheck {
  public:
    // keyPem: the PEM text of the operator's public key.
    explicit PatchSignatureCheck(std::string_view keyPem);

    void add(std::string_view bytes);
    // Reads and hashes a whole file, piece by piece. `stop` is asked between pieces and
    // ends the reading when it answers true; the file then counts as unreadable. False when
    // the file was not read to its end.
    bool addFile(const std::string& path, const std::function<bool()>& stop);
    // Fetches the signature beside patchAddress and checks it. Once per check.
    PatchVerdict verify(const std::string& patchAddress, const ReplyFetch& fetch);

  private:
    platform::SignatureCheck check_;
    bool readWhole_ = true;
};

// The whole check for a patch held in memory: its signature fetched from beside
// patchAddress and checked against keyPem.
PatchVerdict verifyPatch(std::string_view keyPem, const std::string& patchAddress,
                         std::string_view patch, const ReplyFetch& fetch);

}  // namespace game
