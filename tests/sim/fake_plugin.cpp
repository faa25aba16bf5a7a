// A small, honest plugin for testing the simulator without the real one. It declares the
// extender's and the game's records itself, by their byte offsets, as a plugin written from the
// extender's tables by someone else would: it shares no header with the simulator or the real
// plugin on purpose, so that it checks the simulator's records instead of agreeing with them.
// Built in several variants:
//   FAKE_RECORD_VERSION  the record version it exports (the extender accepts 1 only)
//   FAKE_LOAD_RESULT     what its load entry returns
//   FAKE_NO_EXPORTS      exports nothing at all
// Behaviour: the load entry prints the documents folder it gets, then subscribes to "KORV". Message
// 2 registers its sink with the load-game event source, 4 registers it once more, 5 registers a
// second sink that returns 1, 6 registers a sink whose slot 1 is empty (the game crashes on it),
// 7 registers a sink declared as a C++ class with a virtual destructor, and 3 sends a console
// command with a wrong context. The sink sends a command from the game thread and starts a worker
// that sends one after 50 ms.
#include <windows.h>

#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#ifndef FAKE_NO_EXPORTS

namespace {

struct Record {
    std::uint32_t recordVersion;
    std::uint32_t pluginVersion;
    char name[256];
    char author[256];
    std::uint32_t addressIndependence;
    std::uint32_t structureIndependence;
    std::uint32_t runtimes[16];
    std::uint32_t reserved[3];
};
static_assert(sizeof(Record) == 604);

using Handler = void (*)(void* message);
using Sink = std::uint32_t (*)(void* self, const void* event, void* source);

std::uint32_t g_handle = 0;

std::uintptr_t Base() {
    return reinterpret_cast<std::uintptr_t>(GetModuleHandleA("Quorvalen.exe"));
}

void Command(std::uint64_t context, const char* text) {
    reinterpret_cast<void (*)(std::uint64_t, const char*)>(Base() + 0x288D694)(context, text);
}

DWORD WINAPI Worker(void*) {
    Sleep(50);
    Command(0x539AE98, "fake worker command");
    return 0;
}

std::uint32_t OnEvent(void*, const void*, void*) {
    std::puts("fake: event");
    Command(0x539AE98, "fake game command");
    HANDLE worker = CreateThread(nullptr, 0, &Worker, nullptr, 0, nullptr);
    if (worker == nullptr) {
        std::printf("fake: CreateThread failed %lu\n", GetLastError());
    } else {
        CloseHandle(worker);
    }
    return 0;
}

std::uint32_t OnEventBadly(void*, const void*, void*) {
    return 1;
}

void Unused(void*) {}

// Sink objects: their first 8 bytes point at a table whose slot 1 is the event handler.
const void* const g_table[] = {reinterpret_cast<const void*>(&Unused),
                               reinterpret_cast<const void*>(&OnEvent)};
const void* const g_badTable[] = {reinterpret_cast<const void*>(&Unused),
                                  reinterpret_cast<const void*>(&OnEventBadly)};
const void* const g_brokenTable[] = {reinterpret_cast<const void*>(&Unused), nullptr};
struct SinkObject {
    const void* const* table;
};
SinkObject g_sink{g_table};
SinkObject g_badSink{g_badTable};
SinkObject g_brokenSink{g_brokenTable};

// A sink as a plugin would naively declare it: our compiler lays out a C++ virtual destructor in
// two slots (complete, then deleting), which puts the handler in slot 2.
class CxxSink {
  public:
    virtual ~CxxSink() { std::puts("fake: sink destructor called"); }
    virtual std::uint32_t ProcessEvent(const void*, void*) {
        std::puts("fake: event");
        return 0;
    }
    static void operator delete(void*) {} // it lives in static storage: nothing to free
};
alignas(CxxSink) unsigned char g_cxxSinkStorage[sizeof(CxxSink)];

void Register(void* sink) {
    void* source = reinterpret_cast<void* (*)()>(Base() + 0x1A2FF20)();
    reinterpret_cast<void (*)(void*, void*)>(Base() + 0x5C122C)(source, sink);
}

void OnMessage(void* message) {
    std::uint32_t type = 0;
    std::memcpy(&type, static_cast<const char*>(message) + 8, sizeof type);
    std::printf("fake: message %u\n", type);
    if (type == 2 || type == 4) {
        Register(&g_sink);
    } else if (type == 5) {
        Register(&g_badSink);
    } else if (type == 6) {
        Register(&g_brokenSink);
    } else if (type == 7) {
        Register(new (g_cxxSinkStorage) CxxSink); // never destroyed by the plugin itself
    } else if (type == 3) {
        Command(0x1234, "fake command with a wrong context");
    }
}

template <typename T> T At(const void* record, std::size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof value);
    return value;
}

} // namespace

extern "C" __declspec(dllexport) const Record KORVPlugin_Version = {
    FAKE_RECORD_VERSION, 7, "Fake", "Tests", 0, 0, {0x01080560, 0}, {0, 0, 0}};

extern "C" __declspec(dllexport) bool KORVPlugin_Load(const void* korv) {
    wchar_t folder[MAX_PATH] = L"";
    HRESULT result = SHGetFolderPathW(nullptr, 0x8005, nullptr, 0, folder);
    std::printf("fake: documents %08lX %lu %ls\n", static_cast<unsigned long>(result),
                GetLastError(), folder);

    g_handle = At<std::uint32_t (*)()>(korv, 0x18)();
    void* messaging = At<void* (*)(std::uint32_t)>(korv, 0x10)(1);
    At<bool (*)(std::uint32_t, const char*, Handler)>(messaging, 0x08)(g_handle, "KORV",
                                                                       &OnMessage);
    return FAKE_LOAD_RESULT;
}

#endif
