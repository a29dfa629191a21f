// Anonymous pipes of the simulated machine: a bounded buffer between a read end and the
// write ends, each end a handle object that duplicates share.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

#include "sim/Handles.h"

namespace sim {

class Pipe {
public:
    explicit Pipe(size_t capacity) : capacity_(capacity) {}

    // Waits while the buffer is full; false once the read end has closed.
    bool Write(const std::string& bytes);
    // Waits for data; false once every write end has closed and nothing is left.
    bool Read(char* buffer, size_t size, size_t& count);
    // What waits to be read; false once every write end has closed and nothing is left.
    bool Peek(size_t& available);
    void CloseReadEnd();
    void CloseWriteEnd();

private:
    // A wait this long means both sides wait for each other: the test would hang instead of failing.
    void Wait(std::unique_lock<std::mutex>& lock, const char* what);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::string buffer_;
    const size_t capacity_;
    bool readEndOpen_ = true;
    bool writeEndOpen_ = true;
};

// Each end stays open until the last handle to it closes.
struct PipeReadEnd : HandleObject {
    explicit PipeReadEnd(std::shared_ptr<Pipe> pipe) : pipe(std::move(pipe)) {}
    ~PipeReadEnd() override { pipe->CloseReadEnd(); }
    std::shared_ptr<Pipe> pipe;
};
struct PipeWriteEnd : HandleObject {
    explicit PipeWriteEnd(std::shared_ptr<Pipe> pipe) : pipe(std::move(pipe)) {}
    ~PipeWriteEnd() override { pipe->CloseWriteEnd(); }
    std::shared_ptr<Pipe> pipe;
};

}  // namespace sim
