#include "tests/simulated_game/transcript_reader.h"

#include <cstdlib>

namespace testing {

namespace {

constexpr std::size_t kSourceWidth = 6;
constexpr std::size_t kKindWidth = 8;
constexpr std::size_t kGap = 2;

bool ReadEntry(const std::string& line, Entry& entry) {
    // Time, right-aligned, then the gap.
    std::size_t timeEnd = line.find_first_not_of(' ');
    if (timeEnd == std::string::npos) {
        return false;
    }
    timeEnd = line.find(' ', timeEnd);
    if (timeEnd == std::string::npos) {
        return false;
    }
    char* end = nullptr;
    entry.ms = std::strtod(line.c_str(), &end);
    if (end != line.c_str() + timeEnd) {
        return false;
    }
    std::size_t sourceAt = timeEnd + kGap;
    std::size_t kindAt = sourceAt + kSourceWidth + kGap;
    std::size_t detailAt = kindAt + kKindWidth + kGap;
    if (line.size() < detailAt) {
        return false;
    }
    auto field = [&](std::size_t at, std::size_t width) {
        std::string text = line.substr(at, width);
        return text.substr(0, text.find(' '));
    };
    entry.source = field(sourceAt, kSourceWidth);
    entry.kind = field(kindAt, kKindWidth);
    entry.detail = line.substr(detailAt);
    return !entry.source.empty() && !entry.kind.empty();
}

} // namespace

TranscriptReader::TranscriptReader(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        Entry entry;
        if (ReadEntry(line, entry)) {
            entries_.push_back(entry);
        } else {
            malformed_ = true;
        }
    }
}

std::vector<Entry> TranscriptReader::OfKind(const std::string& kind,
                                            const std::string& source) const {
    std::vector<Entry> found;
    for (const Entry& entry : entries_) {
        if (entry.kind == kind && (source.empty() || entry.source == source)) {
            found.push_back(entry);
        }
    }
    return found;
}

std::vector<std::string> TranscriptReader::Details(const std::string& kind) const {
    std::vector<std::string> details;
    for (const Entry& entry : OfKind(kind)) {
        details.push_back(entry.detail);
    }
    return details;
}

std::string TranscriptReader::Summary(const std::string& key) const {
    for (const Entry& entry : OfKind("summary")) {
        if (entry.detail.rfind(key + " ", 0) == 0) {
            return entry.detail.substr(key.size() + 1);
        }
    }
    return {};
}

const Entry* TranscriptReader::Find(const std::string& kind, const std::string& text) const {
    for (const Entry& entry : entries_) {
        if (entry.kind == kind && entry.detail.find(text) != std::string::npos) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace testing
