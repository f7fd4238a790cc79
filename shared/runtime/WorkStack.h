#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "runtime/Mutex.h"
#include "runtime/Semaphore.h"

namespace QXUTIL {

// A bounded queue from any number of producers to one consumer. A producer
// never waits for the consumer: a push onto a full queue drops the oldest
// item. The consumer waits on a counting semaphore, released once per push,
// and gets a default item when nothing arrives in time.
template <class T>
class WorkStack {
public:
    explicit WorkStack(std::size_t maximumCount) : maximumCount_(maximumCount) {
        signal_.Create("");
    }

    ~WorkStack() { WorkStack::Clear(); }

    WorkStack(const WorkStack&) = delete;
    WorkStack& operator=(const WorkStack&) = delete;

    // Appends a copy; a full queue first loses its front item.
    virtual void PushBack(const T& item) {
        lock_.Lock(SEMAPHORE::Mutex::kInfinite);
        items_.push_back(item);
        if (items_.size() > maximumCount_) {
            DropFront();
        }
        lock_.Unlock();
        Added(item);
    }

    // Inserts a copy at the front; a full queue first loses its front item.
    virtual void PushFront(const T& item) {
        lock_.Lock(SEMAPHORE::Mutex::kInfinite);
        if (items_.size() >= maximumCount_ && !items_.empty()) {
            DropFront();
        }
        items_.push_front(item);
        lock_.Unlock();
        Added(item);
    }

    // Removes every item, front first, each through OnRemove. Always 0.
    virtual int Clear() {
        lock_.Lock(SEMAPHORE::Mutex::kInfinite);
        while (!items_.empty()) {
            if (auto* signal = signal_.Handle()) {
                signal->Wait(0);
            }
            DropFront();
        }
        lock_.Unlock();
        return 0;
    }

    // Hooks: after an item was stored (outside the lock), and for every item
    // taken, dropped or cleared (under the lock).
    virtual void OnAdd(const T&) {}
    virtual void OnRemove(const T&) {}

    // Waits up to `milliseconds` for an item and takes the front one; a copy
    // of `otherwise` when none came. The semaphore's count may run ahead of
    // the items (dropped items were counted too), so a signalled wait can
    // still find the queue empty.
    T Pop(std::uint32_t milliseconds, const T& otherwise) {
        T result = otherwise;
        auto* signal = signal_.Handle();
        if (signal == nullptr || signal->Wait(milliseconds) != PLATFORM::WaitResult::Signaled) {
            return result;
        }
        lock_.Lock(SEMAPHORE::Mutex::kInfinite);
        if (!items_.empty()) {
            result = items_.front();
            items_.pop_front();
            OnRemove(result);
        }
        lock_.Unlock();
        return result;
    }

private:
    void DropFront() {
        const T dropped = items_.front();
        items_.pop_front();
        OnRemove(dropped);
    }

    void Added(const T& item) {
        OnAdd(item);
        if (auto* signal = signal_.Handle()) {
            signal->Release(1);
        }
    }

    SEMAPHORE::Mutex lock_;
    std::size_t maximumCount_;
    std::deque<T> items_;
    SEMAPHORE::Semaphore signal_;
};

}  // namespace QXUTIL
