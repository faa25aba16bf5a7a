// The game's own call of a load-game sink, compiled as the game is compiled: for the Microsoft C++
// ABI (x86_64-pc-windows-msvc), without any runtime library. The sink classes are declared as the
// game declares them; the handler is reached by ordinary virtual dispatch, so the slot it sits in
// is the Microsoft ABI's, not a number written down here. Built into QuorvalenSinkCaller.dll, which
// the simulated game loads and calls every registered sink through.

using u32 = unsigned int;

template <typename Event> class ZKTEventSource; // the game's event source, opaque here

namespace ZKTEventDetail {

class SinkBase {
  public:
    virtual ~SinkBase(); // never called here; a sink is not destroyed by the game
};

} // namespace ZKTEventDetail

template <typename Event> class ZKTEventSink : public ZKTEventDetail::SinkBase {
  public:
    // Returns the game's event-control value: 0 lets the game go on to the next sink.
    virtual u32 ProcessEvent(const Event* event, ZKTEventSource<Event>* source) = 0;
};

struct QELLoadGameEvent; // the record the game hands the sink, opaque here

extern "C" __declspec(dllexport) u32
    CallLoadGameSink(ZKTEventSink<QELLoadGameEvent>* sink, const QELLoadGameEvent* event,
                     ZKTEventSource<QELLoadGameEvent>* source) {
    return sink->ProcessEvent(event, source);
}
