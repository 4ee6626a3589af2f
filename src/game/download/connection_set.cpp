#include "game/download/connection_set.h"

#include <system_error>

#include "game/download/connection.h"
#include "game/download/download_task.h"

namespace game {

ConnectionSet::ConnectionSet(DownloadTask& task) : task_(task) {}

ConnectionSet::~ConnectionSet() {
    std::list<std::unique_ptr<Connection>> rest;
    {
        std::lock_guard lock(mutex_);
        rest.swap(connections_);
    }
    // Joined without the lock: a connection ending meanwhile takes it.
    rest.clear();
}

void ConnectionSet::startFirst() {
    start(std::nullopt);
}

void ConnectionSet::startOnParts(int count) {
    for (int i = 0; i < count && !task_.stopped(); ++i) {
        auto part = task_.parts().take();
        if (!part) {
            return;
        }
        start(part);
    }
}

void ConnectionSet::start(std::optional<int> part) {
    {
        std::lock_guard lock(mutex_);
        // Checked under the lock a stop takes to halt the connections: none starts after.
        if (!task_.stopped()) {
            auto connection = std::make_unique<Connection>(task_, nextId_++, part);
            ++active_;
            try {
                connection->start();
                connections_.push_back(std::move(connection));
                return;
            } catch (const std::system_error&) {
                --active_;
            }
        }
    }
    if (part) {
        task_.parts().release(*part);
    }
}

void ConnectionSet::halt(int keep) {
    std::lock_guard lock(mutex_);
    for (auto& connection : connections_) {
        if (connection->id() != keep) {
            connection->halt();
        }
    }
}

void ConnectionSet::ended(int id, bool completedPart) {
    if (completedPart) {
        startOnParts(1);
    }
    task_.queue().push({TaskItem::Kind::ConnectionEnded, {}, {}, id});
    // Last: the task thread ends once no connection is active and its queue is empty.
    --active_;
}

void ConnectionSet::join(int id) {
    std::unique_ptr<Connection> ended;
    {
        std::lock_guard lock(mutex_);
        for (auto it = connections_.begin(); it != connections_.end(); ++it) {
            if ((*it)->id() == id) {
                ended = std::move(*it);
                connections_.erase(it);
                break;
            }
        }
    }
    // Destroying the connection joins its thread, which has queued its last event.
}

std::vector<std::pair<int, std::int32_t>> ConnectionSet::takeProgress() {
    std::vector<std::pair<int, std::int32_t>> stored;
    std::lock_guard lock(mutex_);
    for (auto& connection : connections_) {
        if (std::int32_t bytes = connection->takeUntold(); bytes > 0) {
            stored.emplace_back(connection->id(), bytes);
        }
    }
    return stored;
}

}  // namespace game
