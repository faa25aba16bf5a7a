#pragma once
// The game's event sink classes. The game is built with another compiler than ours and calls a sink
// through its virtual table, which must hold exactly:
//   slot 0: the virtual destructor. The game's compiler (Microsoft's C++ ABI) gives it one slot, a
//           deleting destructor taking (this, flags); our MinGW target's C++ ABI would give a C++
//           virtual destructor two slots and push the handler to slot 2. So the destructor is
//           declared here as that one function. The simulated game makes its calls through code
//           built for the game's ABI, so the tests prove this layout.
//   slot 1: the event handler (this, event record, event source) -> event-control value.
#include <cstdint>

namespace host {

template <typename Event> class ZKTEventSource; // the game's, never looked into

// Returned by an event handler; 0 lets the game go on to the next sink.
enum class EventControl : std::uint32_t { Continue = 0 };

namespace ZKTEventDetail {

class SinkBase {
  public:
    // Slot 0. Nothing is freed: sinks here are static objects that the game never deletes, and
    // so never calls this.
    virtual void* DeletingDestructor(std::uint32_t /*flags*/) { return this; } // GCOVR_EXCL_LINE

  protected:
    SinkBase() = default;
    ~SinkBase() = default;
    SinkBase(const SinkBase&) = default;
    SinkBase& operator=(const SinkBase&) = default;
};

} // namespace ZKTEventDetail

template <typename Event> class ZKTEventSink : public ZKTEventDetail::SinkBase {
  public:
    // Slot 1.
    virtual EventControl ProcessEvent(const Event* event, ZKTEventSource<Event>* source) = 0;

  protected:
    ZKTEventSink() = default;
    ~ZKTEventSink() = default;
    ZKTEventSink(const ZKTEventSink&) = default;
    ZKTEventSink& operator=(const ZKTEventSink&) = default;
};

} // namespace host
