// The log's system part as native stand-ins: see native_outputs.h. The slim lock on the same one
// pointer, taken with the compiler's atomic operations, which the thread checker follows; waiting
// for it yields.
#include "korv_common/log_system.h"
#include "korv_common/slim_lock.h"
#include "tests/native/native_outputs.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace {

// An event that resets itself when a waiter takes it.
struct Event {
    std::mutex mutex;
    std::condition_variable set;
    bool isSet = false;
};

struct Text {
    std::mutex mutex;
    std::string bytes;
};

Text g_file;
Text g_stdout;

std::size_t Append(Text& text, const char* bytes, std::size_t size) {
    std::lock_guard<std::mutex> guard(text.mutex);
    text.bytes.append(bytes, size);
    return size;
}

std::string Read(Text& text) {
    std::lock_guard<std::mutex> guard(text.mutex);
    return text.bytes;
}

} // namespace

namespace native {

std::string FileText() {
    return Read(g_file);
}

std::string StdoutText() {
    return Read(g_stdout);
}

void* FileHandle() {
    return &g_file;
}

} // namespace native

namespace korv::log {

bool StartWriter(Output& output) {
    if (output.running.load()) {
        return true;
    }
    if (output.wake.load() == nullptr) {
        output.wake.store(new Event); // lives as long as the writer: the process
    }
    std::thread([&output] { RunWriter(output); }).detach();
    output.running.store(true);
    return true;
}

void Wake(Output& output) {
    ++native::g_wakes;
    if (auto* wake = static_cast<Event*>(output.wake.load())) { // a stand-in need not be started
        std::lock_guard<std::mutex> guard(wake->mutex);
        wake->isSet = true;
        wake->set.notify_one();
    }
}

void WaitForWake(Output& output, unsigned timeoutMs) {
    for (unsigned longest = native::g_longestWaitMs.load();
         timeoutMs > longest &&
         !native::g_longestWaitMs.compare_exchange_weak(longest, timeoutMs);) {
    }
    auto& wake = *static_cast<Event*>(output.wake.load());
    std::unique_lock<std::mutex> lock(wake.mutex);
    wake.set.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return wake.isSet; });
    wake.isSet = false;
}

std::size_t WriteToFile(void* file, const char* bytes, std::size_t size, std::uint32_t& error) {
    // The first write of a refusal takes a third of its bytes, the ones after it none. Writes of
    // the file come one at a time.
    static bool refusing = false;
    bool tookSome = refusing;
    refusing = native::g_fileRefused.load();
    if (!refusing) {
        return Append(*static_cast<Text*>(file), bytes, size);
    }
    if (!tookSome) {
        return Append(*static_cast<Text*>(file), bytes, size / 3);
    }
    error = 33; // another process holds a part of the file
    return 0;
}

std::size_t WriteToStdout(void* /*unused*/, const char* bytes, std::size_t size,
                          std::uint32_t& /*error*/) {
    while (native::g_stdoutStalled.load()) {
        PauseMs(1);
    }
    return Append(g_stdout, bytes, size);
}

std::optional<std::uint64_t> FileSize(void* file) {
    return Read(*static_cast<Text*>(file)).size();
}

std::uint64_t NowMs() {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

void PauseMs(unsigned ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace korv::log

namespace korv {

namespace {
// Any value but zero marks the lock held.
void* const kHeld = reinterpret_cast<void*>(std::uintptr_t{1});
} // namespace

void SlimLock::Acquire() {
    while (!TryAcquire()) {
        std::this_thread::yield();
    }
}

void SlimLock::Release() {
    __atomic_store_n(&state_, nullptr, __ATOMIC_RELEASE);
}

bool SlimLock::TryAcquire() {
    void* free = nullptr;
    return __atomic_compare_exchange_n(&state_, &free, kHeld, false, __ATOMIC_ACQUIRE,
                                       __ATOMIC_RELAXED);
}

} // namespace korv
