#include "game/patch_download.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "game/download/events.h"
#include "platform/directories.h"
#include "platform/encoding.h"
#include "platform/local_files.h"
#include "ui/control_names.h"

namespace game {

namespace {

// A GBK text cut into characters: a lead byte from 0x81 on starts a two-byte character.
std::vector<std::string> characters(const std::string& text) {
    std::vector<std::string> cut;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length =
            static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size() ? 2 : 1;
        cut.push_back(text.substr(i, length));
        i += length;
    }
    return cut;
}

bool isBlank(const std::string& character) {
    return character == " " || character == "\xA1\xA1";
}

// Walks characters rather than bytes, so the trail byte of a character before a
// full-width blank is never taken for half of one.
std::string trimBlanks(const std::string& text) {
    auto cut = characters(text);
    auto first = std::find_if_not(cut.begin(), cut.end(), isBlank);
    auto last = std::find_if_not(cut.rbegin(), std::make_reverse_iterator(first), isBlank).base();
    std::string trimmed;
    for (auto it = first; it != last; ++it) {
        trimmed += *it;
    }
    return trimmed;
}

// The downloaded patch as the program to start: its name, or the name the download gave
// it when a file of that name was in the way. Started whole, since a name may hold blanks.
std::string patchProgramFile(const std::string& written, const std::string& requested,
                             const std::string& patchFileName) {
    if (written == requested) {
        return patchFileName;
    }
    std::string directory = platform::currentDirectory() + platform::pathSeparator;
    if (written.compare(0, directory.size(), directory) == 0) {
        return written.substr(directory.size());
    }
    return written;
}

// Ends the update with a box, nothing started, and both windows closed.
void failPatch(ui::Interface& ui, const char* message) {
    ui.messageBox(gbk(message), ui::mbOk, gbk("错误"));
    ui.closeWindow(ui::WindowId::Update);
    ui.closeWindow(ui::WindowId::Main);
}

// `signature` holds the hashed patch when it still has to be verified before it may run.
void finish(ui::Interface& ui, const core::LauncherState& state, const PatchDownload& patch,
            platform::ProgramStarter& programs, bool complete,
            const std::shared_ptr<PatchSignatureCheck>& signature) {
    std::string written = patch.writtenPath();
    // A closed update window means the launcher is on its way out as well; so does one
    // whose close waits for a handler still inside a box.
    if (patch.ending() || !ui.isOpen(ui::WindowId::Update) || ui.isClosing(ui::WindowId::Update) ||
        ui.isClosing(ui::WindowId::Main)) {
        if (signature) {
            platform::deleteFile(written);  // never verified, so never to be run by hand
        }
        return;
    }
    if (!complete) {
        // Starting a truncated program would be worse than saying the download failed.
        failPatch(ui, "补丁下载失败，请稍后重试");
        return;
    }
    // The fetch blocks the interface thread, as every page fetch does, so nothing else
    // runs between the verdict and the start.
    if (signature && signature->verify(state.downloadSettings.url, patch.fetchSignature()) !=
                         PatchVerdict::Verified) {
        platform::deleteFile(written);
        failPatch(ui, "补丁校验失败，请稍后重试");
        return;
    }
    ui.messageBox(gbk("下载完成"), ui::mbIconInformation, gbk("提示"));
    programs.startProgramFile(
        patchProgramFile(written, patch.requestedPath(), state.patchFileName));
    ui.closeWindow(ui::WindowId::Update);
    ui.closeWindow(ui::WindowId::Main);
}

}  // namespace

void PatchDownload::begin(const std::string& requestedPath) {
    std::lock_guard lock(mutex_);
    requestedPath_ = requestedPath;
    writtenPath_.clear();
    ended_ = false;
}

void PatchDownload::ended(std::int32_t bytesDone) {
    bytesAtEnd_ = bytesDone;
    ended_ = true;
}

void PatchDownload::fileCreated(const std::string& path) {
    std::lock_guard lock(mutex_);
    writtenPath_ = path;
}

std::string PatchDownload::requestedPath() const {
    std::lock_guard lock(mutex_);
    return requestedPath_;
}

std::string PatchDownload::writtenPath() const {
    std::lock_guard lock(mutex_);
    return writtenPath_;
}

std::string patchAddress(const std::string& patchSite, const std::string& patchFileName) {
    return trimBlanks("http://" + patchSite + "/" + patchFileName);
}

int progressPosition(std::int32_t done, double total) {
    if (total <= 0.0) {
        return 0;
    }
    double percent = done / total * 100.0;
    // The 1e-12 lifts a fraction that falls just short of .5 through rounding errors.
    double rounded = std::floor(std::fabs(percent) + 1e-12 + 0.5);
    return std::clamp(static_cast<int>(std::copysign(rounded, percent)), 0, 100);
}

void startPatchDownload(ui::Interface& ui, core::LauncherState& state, Download& download,
                        PatchDownload& patch, platform::ProgramStarter& programs) {
    std::string directory = platform::currentDirectory();
    // Without a readable current directory the bare name still lands in it.
    std::string localPath = directory.empty()
                                ? state.patchFileName
                                : directory + platform::pathSeparator + state.patchFileName;
    platform::deleteFile(localPath);

    core::TaskParam& settings = state.downloadSettings;
    settings.flags = downloadIntoFile;
    settings.url = patchAddress(state.patchSite, state.patchFileName);
    settings.localFile = localPath;
    settings.threadCount = 5;
    settings.connectTimeout = 5000;
    settings.sendTimeout = 5000;
    settings.receiveTimeout = 10000;
    settings.stopWait = 1000;
    settings.readBlock = 10240;
    settings.notify = [&ui, &state, &download, &patch, &programs](core::DownloadNotice& notice) {
        return onPatchNotice(notice, ui, state, download, patch, programs);
    };
    state.downloadTotalSize = 0.0;
    patch.begin(localPath);
    download.start(settings);
}

std::int32_t onPatchNotice(core::DownloadNotice& notice, ui::Interface& ui,
                           core::LauncherState& state, const Download& download,
                           PatchDownload& patch, platform::ProgramStarter& programs) {
    if (notice.event == eventTotalSize) {
        patch.fileCreated(notice.text);
        state.downloadTotalSize = static_cast<double>(notice.value);
    } else if (notice.event == eventEnded) {
        // Read while the task is still held, before the object is emptied.
        std::int32_t done = download.bytesDone();
        std::string written = patch.writtenPath();
        bool complete = !written.empty() && download.completed();
        patch.ended(done);
        // Hashed here rather than on the interface thread: a patch of hundreds of megabytes
        // would hold the windows still meanwhile. A launcher that is ending stops it.
        std::shared_ptr<PatchSignatureCheck> signature;
        if (complete && patch.checksSignatures()) {
            signature = std::make_shared<PatchSignatureCheck>(patch.patchKey());
            signature->addFile(written, [&patch] { return patch.ending(); });
        }
        bool ending = patch.ending();
        // However a download ends short (a failure, the window closed, the launcher
        // ending), no half-written program stays behind to be started by hand; nor does a
        // whole one that will not be verified now.
        if (!written.empty() && (!complete || (signature && ending))) {
            platform::deleteFile(written);
        }
        if (ending) {
            return 0;
        }
        ui.loop().post([&ui, &state, &patch, &programs, complete, signature] {
            finish(ui, state, patch, programs, complete, signature);
        });
    }
    return 0;
}

void patchProgressTick(ui::Interface& ui, const core::LauncherState& state,
                       const Download& download, const PatchDownload& patch) {
    // After the end the object is empty and would read 0: the bar shows where it ended.
    std::int32_t done = patch.hasEnded() ? patch.bytesAtEnd() : download.bytesDone();
    ui.setPosition(ui::WindowId::Update, ui::progressBar,
                   progressPosition(done, state.downloadTotalSize));
}

}  // namespace game
