#include "game/patch_signature.h"

#include "platform/file_pieces.h"
#include "platform/signature_encoding.h"

namespace game {

std::string signatureAddress(const std::string& patchAddress) {
    std::string address;
    for (char c : patchAddress) {
        address += c == ' ' ? std::string("%20") : std::string(1, c);
    }
    return address + ".sig";
}

PatchSignatureCheck::PatchSignatureCheck(std::string_view keyPem) : check_(keyPem) {}

void PatchSignatureCheck::add(std::string_view bytes) {
    check_.add(bytes);
}

bool PatchSignatureCheck::addFile(const std::string& path, const std::function<bool()>& stop) {
    bool whole = platform::readFileInPieces(path, [&](std::string_view piece) {
        if (stop()) {
            return false;
        }
        check_.add(piece);
        return true;
    });
    readWhole_ = readWhole_ && whole;
    return whole;
}

PatchVerdict PatchSignatureCheck::verify(const std::string& patchAddress, const ReplyFetch& fetch) {
    if (!check_.usable()) {
        return PatchVerdict::KeyUnusable;
    }
    if (!readWhole_) {
        return PatchVerdict::FileUnreadable;
    }
    core::PageReply reply = fetch(signatureAddress(patchAddress));
    // An error page is no signature, whatever its body holds.
    if (reply.status != 200) {
        return PatchVerdict::SignatureMissing;
    }
    if (!platform::p256SignaturePair(reply.body)) {
        return PatchVerdict::SignatureMalformed;
    }
    return check_.matches(reply.body) ? PatchVerdict::Verified : PatchVerdict::Mismatch;
}

PatchVerdict verifyPatch(std::string_view keyPem, const std::string& patchAddress,
                         std::string_view patch, const ReplyFetch& fetch) {
    PatchSignatureCheck check(keyPem);
    check.add(patch);
    return check.verify(patchAddress, fetch);
}

}  // namespace game
