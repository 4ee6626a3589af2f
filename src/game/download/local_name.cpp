#include "game/download/local_name.h"

#include "game/download/events.h"
#include "game/download/renaming.h"
#include "platform/encoding.h"
#include "platform/local_files.h"

namespace game {

namespace {

constexpr int mostRenames = 99;
// Renamed paths stay within the shortest path limit the launcher runs under.
constexpr std::size_t longestRenamedPath = 259;

bool endsInFolder(const std::string& path) {
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::intptr_t sizeOf(const std::string& path) {
    return static_cast<std::intptr_t>(platform::fileSize(path).value_or(0));
}

}  // namespace

std::string localPath(const std::string& localFile, const Address& address, const ReplyHead& head) {
    if (!endsInFolder(localFile)) {
        return localFile;
    }
    std::string name = dispositionFileName(head.contentDisposition);
    if (name.empty()) {
        std::string path = address.path.substr(0, address.path.find('?'));
        name = path.substr(path.rfind('/') + 1);
    }
    if (name.empty() || name == "." || name == "..") {
        name = "index.html";
    }
    return localFile + name;
}

std::optional<std::string> freeLocalPath(std::string path, std::int32_t total, const void* task,
                                         const core::NotifyRoutine& notify,
                                         const std::function<void(std::string)>& log) {
    if (!platform::pathExists(path)) {
        return path;
    }
    core::DownloadNotice notice{eventFileExists, sizeOf(path), total, 0, task, path};
    switch (notify ? notify(notice) : renameAutomatically) {
        case giveUpDownload:
            log(gbk("发现同名文件, 用户选择放弃下载"));
            return std::nullopt;
        case callerChoseName:
            log(gbk("发现同名文件, 用户更名为") + notice.text);
            return notice.text;
        default:
            break;
    }
    for (int tries = 0; tries < mostRenames; ++tries) {
        auto next = nextFreeName(path);
        if (!next || next->size() > longestRenamedPath) {
            break;
        }
        path = *next;
        if (!platform::pathExists(path)) {
            log(gbk("发现同名文件, 系统自动更名为") + path);
            return path;
        }
    }
    log(gbk("发现同名文件，超过系统自动更名次数"));
    return std::nullopt;
}

}  // namespace game
