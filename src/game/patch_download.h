#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>

#include "core/launcher_state.h"
#include "core/task_param.h"
#include "game/download/download.h"
#include "game/patch_signature.h"
#include "platform/process.h"
#include "ui/interface.h"

namespace game {

// What the patch download's notification routine, on the download's threads, shares with
// the interface thread: the file the download actually writes and whether the launcher
// is ending; and the operator's key, when the launcher was built with one.
class PatchDownload {
  public:
    // patchKey: the PEM text of the operator's public key. With a key, a downloaded patch
    // is started only when the signature beside it (fetched with fetchSignature) verifies;
    // without one, patches are started unchecked.
    explicit PatchDownload(std::string_view patchKey = {},
                           ReplyFetch fetchSignature = fetchSignatureReply)
        : patchKey_(patchKey), fetchSignature_(std::move(fetchSignature)) {}
    bool checksSignatures() const { return !patchKey_.empty(); }
    const std::string& patchKey() const { return patchKey_; }
    const ReplyFetch& fetchSignature() const { return fetchSignature_; }

    // The launcher is ending: an end of the download then shows nothing and starts nothing.
    void markEnding() { ending_ = true; }
    bool ending() const { return ending_; }

    void begin(const std::string& requestedPath);
    void fileCreated(const std::string& path);
    // The task has ended with this many bytes done.
    void ended(std::int32_t bytesDone);
    bool hasEnded() const { return ended_; }
    std::int32_t bytesAtEnd() const { return bytesAtEnd_; }
    std::string requestedPath() const;
    // The path event 3 named, empty before it.
    std::string writtenPath() const;

  private:
    const std::string patchKey_;
    const ReplyFetch fetchSignature_;
    std::atomic<bool> ending_{false};
    std::atomic<bool> ended_{false};
    std::atomic<std::int32_t> bytesAtEnd_{0};
    mutable std::mutex mutex_;
    std::string requestedPath_;
    std::string writtenPath_;
};

// The patch address: "http://", the site, "/", the file name, with ASCII and full-width
// blanks removed from both ends of the whole.
std::string patchAddress(const std::string& patchSite, const std::string& patchFileName);

// The progress bar position for bytes done of a total: whole per cent, halves up, 0 while
// the total is unknown, never above 100.
int progressPosition(std::int32_t done, double total);

// The update window has been created: deletes an old patch file, fills the download
// settings and starts the download. Whether it starts is not checked: without a start no
// end ever comes and the window stays open. A complete patch is started with `programs`.
void startPatchDownload(ui::Interface& ui, core::LauncherState& state, Download& download,
                        PatchDownload& patch, platform::ProgramStarter& programs);

// The download's notification routine. Runs on a download thread: everything that touches
// the interface is posted to the interface thread.
std::int32_t onPatchNotice(core::DownloadNotice& notice, ui::Interface& ui,
                           core::LauncherState& state, const Download& download,
                           PatchDownload& patch, platform::ProgramStarter& programs);

// The update window's clock: moves the progress bar.
void patchProgressTick(ui::Interface& ui, const core::LauncherState& state,
                       const Download& download, const PatchDownload& patch);

}  // namespace game
