#include "tests/bad_inputs/mutations.h"

#include "tests/bad_inputs/bad_input.h"

#include <random>
#include <string_view>
#include <vector>

namespace testing {

namespace {

using Generator = std::mt19937;

std::size_t Below(Generator& random, std::size_t count) {
    return count == 0 ? 0 : static_cast<std::size_t>(random() % count);
}

template <typename T> const T& OneOf(Generator& random, const std::vector<T>& choices) {
    return choices[Below(random, choices.size())];
}

// The offset just past the end of a random line, or the file's end.
std::size_t LineStart(Generator& random, const std::string& file) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\n' || (file[i] == '\r' && (i + 1 == file.size() || file[i + 1] != '\n'))) {
            starts.push_back(i + 1);
        }
    }
    return OneOf(random, starts);
}

void ReplaceAll(std::string& file, std::string_view from, std::string_view to) {
    for (std::size_t at = file.find(from); at != std::string::npos;
         at = file.find(from, at + to.size())) {
        file.replace(at, from.size(), to);
    }
}

// One change of the file; line ends are those of the file.
void Mutate(Generator& random, std::string& file, const std::string& end) {
    switch (Below(random, 8)) {
    case 0: { // the section line
        static const std::vector<std::string> lines = {"[Settings",
                                                       "[Settings]]",
                                                       "[Settings] ; x",
                                                       "[Set]tings]",
                                                       " [ Settings ]\t",
                                                       "[SETTINGS]",
                                                       "[Settings]\xA0",
                                                       "[]",
                                                       "[Settings]=1",
                                                       std::string("[Settings\0]", 11),
                                                       "[Other]" + end + "[Settings]",
                                                       "[Settings]" + end + "[Settings]"};
        if (std::size_t at = file.find("[Settings]"); at != std::string::npos) {
            file.replace(at, 10, OneOf(random, lines));
        }
        break;
    }
    case 1: { // a comment, often ending in a byte a double-byte code page pairs with the line end
        static const std::vector<std::string> comments = {
            ";\xB0", "; note \xD6\xD0", ";\xE4\xB8\xAD", ";\x81", "#comment", "; a=b", ";"};
        file.insert(LineStart(random, file), OneOf(random, comments) + end);
        break;
    }
    case 2: { // blanks
        static const std::vector<std::pair<std::string, std::string>> blanks = {
            {"=", " = "}, {"=", "=\t"}, {"\n", "\n  "}, {"=1", "=\xA0"}, {"=0", "= \x0B"}};
        const auto& [from, to] = OneOf(random, blanks);
        std::size_t at = file.find(from, Below(random, file.size()));
        if (at != std::string::npos) {
            file.replace(at, from.size(), to);
        }
        break;
    }
    case 3: { // NUL and control bytes
        static const std::vector<std::string> bytes = {std::string(1, '\0'), "\x01", "\x1A", "\x7F",
                                                       std::string("\0\0", 2)};
        file.insert(Below(random, file.size() + 1), OneOf(random, bytes));
        break;
    }
    case 4: { // quotes around a value
        static const std::vector<std::pair<std::string, std::string>> quotes = {
            {"\"", "\""}, {"'", "'"}, {"\"", "'"}, {"\"", ""}, {"\"\"", ""}};
        const auto& [open, close] = OneOf(random, quotes);
        std::size_t at = file.find('=', Below(random, file.size()));
        std::size_t stop = at == std::string::npos ? at : file.find_first_of("\r\n", at);
        if (stop != std::string::npos) {
            file.insert(stop, close);
            file.insert(at + 1, open);
        }
        break;
    }
    case 5: // line ends
        ReplaceAll(file, end, OneOf(random, std::vector<std::string>{"\r", "\n", "\n\r", ""}));
        break;
    case 6: { // non-ASCII text in a value, the last byte of a line among others
        static const std::vector<std::string> texts = {"\xC3\xA9", "\xD6\xD0\xCE\xC4", "\xB0",
                                                       "\xE4\xB8\xAD\xE6\x96\x87"};
        std::size_t at = file.find_first_of("\r\n", Below(random, file.size()));
        file.insert(at == std::string::npos ? file.size() : at, OneOf(random, texts));
        break;
    }
    default: // a line dropped
    {
        std::size_t start = LineStart(random, file);
        std::size_t stop = file.find(end, start);
        file.erase(start,
                   stop == std::string::npos ? std::string::npos : stop + end.size() - start);
        break;
    }
    }
}

} // namespace

std::string MutatedSettingsFile(std::size_t index) {
    Generator random(static_cast<unsigned>(index) * 7919u + 17u);
    const std::string end = Below(random, 3) == 0 ? "\n" : "\r\n";
    std::string file = Below(random, 4) == 0 ? FullTextWithoutDebugMode(end) : FullText(end);
    std::size_t changes = 1 + Below(random, 3);
    for (std::size_t i = 0; i < changes; ++i) {
        Mutate(random, file, end);
    }
    // A text form last, so that UTF-16 keeps whole units.
    switch (Below(random, 8)) {
    case 0:
        return Utf16(file);
    case 1:
        return Utf16Be(file);
    case 2:
        return Utf16(file).substr(2);
    case 3:
        return "\xEF\xBB\xBF" + file;
    default:
        return file;
    }
}

} // namespace testing
