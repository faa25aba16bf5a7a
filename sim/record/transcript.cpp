#include "sim/record/transcript.h"

#include "sim/platform/platform.h"
#include "sim/record/thread_roles.h"
#include "sim/record/transcript_output.h"

#include <atomic>
#include <cstdio>

namespace sim {

namespace {

std::atomic<int> g_errors{0};

std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

const char* SourceName(Source source) {
    switch (source) {
    case Source::Korv:
        return "korv";
    case Source::Game:
        return "game";
    case Source::Other:
        return "other";
    case Source::Stdout:
        return "stdout";
    case Source::Sim:
        return "sim";
    }
    return "?";
}

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::Folder:
        return "folder";
    case Kind::Dll:
        return "dll";
    case Kind::Refused:
        return "refused";
    case Kind::Record:
        return "record";
    case Kind::Patch:
        return "patch";
    case Kind::Load:
        return "load";
    case Kind::Result:
        return "result";
    case Kind::Query:
        return "query";
    case Kind::Handle:
        return "handle";
    case Kind::Listener:
        return "listener";
    case Kind::Message:
        return "message";
    case Kind::EventSrc:
        return "source";
    case Kind::Register:
        return "register";
    case Kind::Sink:
        return "sink";
    case Kind::Command:
        return "command";
    case Kind::Fault:
        return "fault";
    case Kind::Line:
        return "line";
    case Kind::Option:
        return "option";
    case Kind::Wait:
        return "wait";
    case Kind::Summary:
        return "summary";
    case Kind::Error:
        return "error";
    case Kind::Crash:
        return "crash";
    case Kind::Frame:
        return "frame";
    case Kind::Bench:
        return "bench";
    }
    return "?";
}

std::string FormatEntry(double timeMs, Source source, Kind kind, const std::string& detail) {
    char head[64];
    std::snprintf(head, sizeof head, "%10.3f  %-6s  %-8s  ", timeMs, SourceName(source),
                  KindName(kind));
    return head + Escaped(detail) + "\n";
}

void RecordAs(Source source, Kind kind, const std::string& detail) {
    WriteTranscriptLine(FormatEntry(NowMs(), source, kind, detail));
}

void Record(Kind kind, const std::string& detail) {
    RecordAs(CurrentSource(), kind, detail);
}

void RecordErrorAs(Source source, const std::string& detail) {
    g_errors.fetch_add(1);
    RecordAs(source, Kind::Error, detail);
}

void RecordError(const std::string& detail) {
    RecordErrorAs(CurrentSource(), detail);
}

int ErrorCount() {
    return g_errors.load();
}

} // namespace sim
