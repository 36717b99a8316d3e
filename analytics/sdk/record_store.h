#pragma once
// The bounded queue of finished records between the event layer and the upload.
// Two locks: the flush lock keeps uploads one at a time, the queue lock guards the
// queue and is never held during a request. Order: flush lock, then queue lock.
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "analytics/sdk/object_node.h"

namespace usage_analytics {

class RecordSender;

class RecordStore {
public:
    static constexpr size_t kCapacity = 1024;
    static constexpr size_t kBatchSize = 30;

    RecordStore(const std::string& serverUrl, std::string stagingFilePath);
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Queues the record's JSON; beyond the capacity the oldest record is dropped.
    void Add(const utils::ObjectNode& record);
    // Uploads at most one batch; true when there was nothing to send or it was accepted.
    bool FlushBatch();
    // Uploads batch after batch until the queue is empty (true) or one fails (false).
    bool FlushAll();
    // Saves what is still queued to the staging file; later calls do nothing.
    void Close();

private:
    void LoadStaged();
    void LoadStagedLocked();
    void PutBack(std::deque<std::string>& batch);

    std::mutex flushLock_;
    std::mutex queueLock_;
    std::deque<std::string> records_;
    const std::string stagingFilePath_;
    bool loadPending_ = true;
    bool closed_ = false;
    std::unique_ptr<RecordSender> sender_;
};

}  // namespace usage_analytics
