#include "sim/Pipes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace sim {

void Pipe::Wait(std::unique_lock<std::mutex>& lock, const char* what) {
    if (changed_.wait_for(lock, std::chrono::seconds(10)) == std::cv_status::timeout) {
        std::fprintf(stderr, "sim: a pipe's %s waited 10 s; a write end left open or a full pipe not read?\n", what);
        std::abort();
    }
}

bool Pipe::Write(const std::string& bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    size_t written = 0;
    while (written < bytes.size()) {
        if (!readEndOpen_) return false;
        if (buffer_.size() >= capacity_) {
            Wait(lock, "writer");
            continue;
        }
        const size_t part = std::min(bytes.size() - written, capacity_ - buffer_.size());
        buffer_.append(bytes, written, part);
        written += part;
        changed_.notify_all();
    }
    return true;
}

bool Pipe::Read(char* buffer, size_t size, size_t& count) {
    std::unique_lock<std::mutex> lock(mutex_);
    while (buffer_.empty() && writeEndOpen_) Wait(lock, "reader");
    if (buffer_.empty()) return false;
    count = std::min(size, buffer_.size());
    std::memcpy(buffer, buffer_.data(), count);
    buffer_.erase(0, count);
    changed_.notify_all();
    return true;
}

bool Pipe::Peek(size_t& available) {
    std::lock_guard<std::mutex> lock(mutex_);
    available = buffer_.size();
    return available > 0 || writeEndOpen_;
}

void Pipe::CloseReadEnd() {
    std::lock_guard<std::mutex> lock(mutex_);
    readEndOpen_ = false;
    changed_.notify_all();
}

void Pipe::CloseWriteEnd() {
    std::lock_guard<std::mutex> lock(mutex_);
    writeEndOpen_ = false;
    changed_.notify_all();
}

}  // namespace sim
