#pragma once
// The few operating-system services the simulator's plain code needs: time, sleeping, thread
// identity, the working folder and a lock. Implemented over the Windows API so that none of them
// touches the C runtime's thread machinery on threads the plugin starts.
#include <cstdint>
#include <string>

namespace sim {

// Milliseconds since the simulator started, from the performance counter.
double NowMs();

// Performance-counter ticks and their frequency, for timing one call precisely.
std::int64_t Ticks();
std::int64_t TicksPerSecond();
double TicksToMs(std::int64_t ticks);

void SleepMs(std::uint32_t milliseconds);

// Ends the process at once, as a crash ends it: no DLL hears of it (no DLL_PROCESS_DETACH).
[[noreturn]] void EndProcessNow(std::uint32_t exitCode);

std::uint32_t CurrentThreadId();

// Number of threads the process has right now (0 when it cannot be counted).
std::uint32_t ThreadCount();

// False when the folder cannot be made the working folder.
bool SetWorkingFolder(const std::string& folder);
std::string WorkingFolder();

// A lock that is cheap to take from any thread, including threads the simulator did not start.
class Lock {
  public:
    Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    void Acquire();
    void Release();

  private:
    void* state_;
};

class Guard {
  public:
    explicit Guard(Lock& lock) : lock_(lock) { lock_.Acquire(); }
    ~Guard() { lock_.Release(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  private:
    Lock& lock_;
};

} // namespace sim
