#include "analytics/sdk/record_store.h"

#include <exception>
#include <vector>

#include "analytics/sdk/diagnostics.h"
#include "analytics/sdk/record_sender.h"
#include "analytics/sdk/staging_file.h"

namespace usage_analytics {

namespace {

std::string JoinAsJsonArray(const std::deque<std::string>& batch) {
    std::string json = "[";
    for (const std::string& record : batch) {
        if (json.size() > 1) json += ',';
        json += record;
    }
    json += ']';
    return json;
}

}  // namespace

RecordStore::RecordStore(const std::string& serverUrl, std::string stagingFilePath)
    : stagingFilePath_(std::move(stagingFilePath)), sender_(std::make_unique<RecordSender>(serverUrl)) {}

RecordStore::~RecordStore() = default;

void RecordStore::Add(const utils::ObjectNode& record) {
    std::string json = record.ToJson();
    const std::lock_guard queueLock(queueLock_);
    if (closed_) return;
    records_.push_back(std::move(json));
    if (records_.size() > kCapacity) records_.pop_front();
}

void RecordStore::LoadStaged() {
    const std::lock_guard queueLock(queueLock_);
    LoadStagedLocked();
}

void RecordStore::LoadStagedLocked() {
    if (!loadPending_) return;
    loadPending_ = false;
    const size_t free = kCapacity - records_.size();
    std::vector<std::string> staged = TakeStagedRecords(stagingFilePath_, free);
    // Records of an earlier run are older than anything queued in this one.
    records_.insert(records_.begin(), std::make_move_iterator(staged.begin()),
                    std::make_move_iterator(staged.end()));
}

// Under the queue lock. When space is short the newest records of the batch survive.
void RecordStore::PutBack(std::deque<std::string>& batch) {
    const size_t free = kCapacity - records_.size();
    const size_t kept = std::min(batch.size(), free);
    records_.insert(records_.begin(), std::make_move_iterator(batch.end() - static_cast<ptrdiff_t>(kept)),
                    std::make_move_iterator(batch.end()));
}

bool RecordStore::FlushBatch() {
    LoadStaged();
    const std::lock_guard flushLock(flushLock_);
    std::deque<std::string> batch;
    try {
        {
            const std::lock_guard queueLock(queueLock_);
            if (closed_) return false;
            const size_t count = std::min(records_.size(), kBatchSize);
            if (count == 0) return true;
            batch.assign(std::make_move_iterator(records_.begin()),
                         std::make_move_iterator(records_.begin() + static_cast<ptrdiff_t>(count)));
            records_.erase(records_.begin(), records_.begin() + static_cast<ptrdiff_t>(count));
        }
        if (sender_->Send(JoinAsJsonArray(batch))) return true;
    } catch (const std::exception& error) {
        WriteDiagnostic(std::string("Exception when flush failed: (") + error.what() + ") ");
    }
    // A failed or interrupted upload keeps its records for the next attempt.
    const std::lock_guard queueLock(queueLock_);
    PutBack(batch);
    return false;
}

bool RecordStore::FlushAll() {
    LoadStaged();
    for (;;) {
        {
            const std::lock_guard queueLock(queueLock_);
            if (records_.empty() || closed_) return !closed_;
        }
        if (!FlushBatch()) return false;
    }
}

void RecordStore::Close() {
    const std::lock_guard flushLock(flushLock_);
    const std::lock_guard queueLock(queueLock_);
    if (closed_) return;
    LoadStagedLocked();
    SaveStagedRecords(stagingFilePath_, records_);
    records_.clear();
    closed_ = true;
}

}  // namespace usage_analytics
