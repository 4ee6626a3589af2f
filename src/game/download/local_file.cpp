#include "game/download/local_file.h"

namespace game {

bool LocalFile::create(const std::string& path, std::int64_t size) {
    file_ = platform::FixedSizeFile::create(path, size);
    created_ = file_ != nullptr;
    return created_;
}

bool LocalFile::write(std::int64_t offset, const char* data, std::size_t size) {
    return file_->write(offset, data, size);
}

void LocalFile::startWriteBack(std::int64_t from, std::int64_t to) {
    file_->startWriteBack(from, to);
}

bool LocalFile::close(bool complete) {
    created_ = false;
    auto file = std::move(file_);
    // A failed download is deleted anyway: only a complete one waits for the disk.
    return file && complete && file->close();
}

}  // namespace game
