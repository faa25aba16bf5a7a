#include "tests/bad_inputs/case_file.h"

#include "tests/bad_inputs/bad_input.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

namespace testing {

namespace {

using Lines = std::vector<std::pair<std::size_t, std::string_view>>; // number from 1, text

[[noreturn]] void Fail(std::size_t line, const std::string& what) {
    throw MalformedCase{line, what};
}

bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// A bound on what one repeat may write, so that a typing error can't take all the memory.
constexpr std::size_t kLongestRepeat = 64 * 1024 * 1024;

std::string Unescaped(std::string_view text, std::size_t line) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string_view rest = text.substr(i + 1);
        if (text[i] != '\\') {
            out += text[i];
        } else if (rest.substr(0, 1) == "\\" || rest.substr(0, 1) == "0") {
            out += rest[0] == '0' ? '\0' : '\\';
            i += 1;
        } else if (rest.size() >= 3 && rest[0] == 'x' && IsHex(rest[1]) && IsHex(rest[2])) {
            out += static_cast<char>(std::stoi(std::string(rest.substr(1, 2)), nullptr, 16));
            i += 3;
        } else if (rest.substr(0, 1) == "{") {
            std::size_t blank = rest.find(' ');
            std::size_t close = rest.find('}');
            std::size_t times = 0;
            auto [end, error] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), times);
            if (close == rest.npos || blank > close || error != std::errc() ||
                end != rest.data() + blank) {
                Fail(line, "a repeat is written \\{COUNT TEXT}");
            }
            std::string unit = Unescaped(rest.substr(blank + 1, close - blank - 1), line);
            if (times > kLongestRepeat / std::max<std::size_t>(unit.size(), 1)) {
                Fail(line, "a repeat writes more than 64 MiB");
            }
            while (times-- > 0) {
                out += unit;
            }
            i += close + 1;
        } else {
            Fail(line, "a backslash starts none of \\xNN, \\0, \\\\ and \\{COUNT TEXT}");
        }
    }
    return out;
}

// The bytes of a file block: its lines ended as the modifiers say, then put in their form.
std::string Text(std::string_view modifiers, const Lines& body, std::size_t line) {
    static constexpr std::string_view kWords[] = {"utf-16 le without mark",
                                                  "utf-16 be without mark",
                                                  "utf-16 le",
                                                  "utf-16 be",
                                                  "utf-8 mark",
                                                  "no final line end",
                                                  "CRLF",
                                                  "LF",
                                                  "CR"};
    const auto* const firstEnd = std::begin(kWords) + 6;
    std::string lineEnd = "\r\n";
    std::string_view form;
    bool finalEnd = true;
    bool endGiven = false;
    while (!modifiers.empty()) {
        const auto* word = std::find_if(std::begin(kWords), std::end(kWords), [&](auto w) {
            return modifiers.substr(0, w.size()) == w &&
                   (modifiers.size() == w.size() || modifiers[w.size()] == ' ');
        });
        const bool isEnd = word >= firstEnd && word != std::end(kWords);
        if (word == std::end(kWords) || (isEnd && endGiven) ||
            (word < firstEnd - 1 && !form.empty())) {
            Fail(line, "unknown or repeated modifier at '" + std::string(modifiers) + "'");
        }
        if (isEnd) {
            lineEnd = *word == "CRLF" ? "\r\n" : *word == "LF" ? "\n" : "\r";
            endGiven = true;
        } else if (word == firstEnd - 1) {
            finalEnd = false;
        } else {
            form = *word;
        }
        modifiers.remove_prefix(std::min(modifiers.size(), word->size() + 1));
    }
    std::string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        text += Unescaped(body[i].second, body[i].first);
        text += i + 1 < body.size() || finalEnd ? lineEnd : "";
    }
    if (form == "utf-8 mark") {
        return "\xEF\xBB\xBF" + text;
    }
    if (form.empty()) {
        return text;
    }
    std::string wide = form.find("le") != form.npos ? Utf16(text) : Utf16Be(text);
    return form.find("without mark") != form.npos ? wide.substr(2) : wide;
}

void ReadSends(const Lines& body, CaseFile& result) {
    if (body.size() == 1 &&
        (body[0].second == "nothing" || body[0].second == "as the platform reads the file")) {
        result.sends =
            body[0].second == "nothing" ? SendsForm::Nothing : SendsForm::AsPlatformReads;
        return;
    }
    result.values.assign(18, "");
    std::size_t last = 0;
    for (const auto& [number, text] : body) {
        std::size_t n = 0;
        const char* const end = text.data() + text.size();
        auto [blank, error] = std::from_chars(text.data(), end, n);
        if (error != std::errc() || blank + 1 >= end || *blank != ' ' || n <= last || n > 18) {
            Fail(number, "a value sent is written '<n> <value>', n from 1 to 18 and rising");
        }
        result.values[n - 1] =
            Unescaped(text.substr(static_cast<std::size_t>(blank - text.data()) + 1), number);
        last = n;
    }
}

void Read(std::string_view name, std::string_view rest, const Lines& body, std::size_t line,
          CaseFile& result) {
    // In the order of Placement.
    static constexpr std::string_view kPlacements[] = {"file",
                                                       "none",
                                                       "folder",
                                                       "read-only file",
                                                       "read-only folder",
                                                       "held without sharing",
                                                       "held sharing reads",
                                                       "temporary taken"};
    if (name == "placement") {
        const auto* at = std::find(std::begin(kPlacements), std::end(kPlacements), rest);
        if (at == std::end(kPlacements)) {
            Fail(line, "unknown placement");
        }
        result.placement = static_cast<Placement>(at - std::begin(kPlacements));
    } else if (name == "requires") {
        if (rest != "read-only binds" && rest != "read-only ignored") {
            Fail(line, "unknown requirement");
        }
        result.whereReadOnlyBinds = rest == "read-only binds";
    } else if (name == "file") {
        result.bytes = Text(rest, body, line);
    } else if (name == "sends") {
        ReadSends(body, result);
    } else if (name == "log") {
        for (const auto& [number, text] : body) {
            result.log.push_back(Unescaped(text, number));
        }
    } else if (name == "after" && rest != "unchanged" && rest != "none" &&
               rest != "as one repair write leaves it") {
        result.after = Text(rest, body, line);
    } else if (name == "after") {
        if (!body.empty()) {
            Fail(body[0].first, "'== after " + std::string(rest) + "' takes no lines");
        }
        result.afterForm = rest == "unchanged" ? AfterForm::Unchanged
                           : rest == "none"    ? AfterForm::None
                                               : AfterForm::AsOneRepairWrite;
    } else {
        result.entries.emplace();
        for (std::size_t at = 0; at < rest.size();) {
            std::size_t blank = std::min(rest.find(' ', at), rest.size());
            result.entries->emplace_back(rest.substr(at, blank - at));
            at = blank + 1;
        }
    }
}

} // namespace

CaseFile ParseCase(const std::string& text) {
    Lines lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::size_t number = lines.size() + 1;
        if (end == std::string::npos) {
            Fail(number, "the last line has no line end");
        }
        std::string_view line = std::string_view(text).substr(at, end - at);
        if (line.find('\r') != line.npos ||
            (!line.empty() && (line.back() == ' ' || line.back() == '\t'))) {
            Fail(number, "a CR, or a blank or tab ending a line: write it as \\xNN");
        }
        lines.emplace_back(number, line);
        at = end + 1;
    }
    std::size_t i = 0;
    while (i < lines.size() && lines[i].second.substr(0, 1) == "#") {
        ++i;
    }
    if (i == 0) {
        Fail(1, "a case begins with a comment saying what it shows");
    }
    // The sections in the order they come; sends, log and after may not be left out.
    static constexpr std::string_view kOrder[] = {"placement", "requires", "file",   "sends",
                                                  "log",       "after",    "entries"};
    CaseFile result;
    std::size_t next = 0; // the first of kOrder that may still come
    unsigned seen = 0;
    while (i < lines.size()) {
        const auto [number, header] = lines[i];
        std::string_view words = header.substr(std::min<std::size_t>(3, header.size()));
        std::string_view name = words.substr(0, words.find(' '));
        const auto* at = std::find(std::begin(kOrder) + next, std::end(kOrder), name);
        if (header.substr(0, 3) != "== " || at == std::end(kOrder)) {
            Fail(number, "expected a '== ' line of a section that may come here");
        }
        next = static_cast<std::size_t>(at - std::begin(kOrder)) + 1;
        seen |= 1u << (next - 1);
        Lines body;
        while (++i < lines.size() && lines[i].second.substr(0, 3) != "== ") {
            body.push_back(lines[i]);
        }
        if (!body.empty() && (name == "placement" || name == "requires" || name == "entries")) {
            Fail(body[0].first, "'== " + std::string(name) + "' takes no lines");
        }
        Read(name, words.substr(std::min(name.size() + 1, words.size())), body, number, result);
    }
    const Placement p = result.placement;
    const bool noFile =
        p == Placement::None || p == Placement::Folder || p == Placement::TemporaryTaken;
    const bool fileNeeded = result.sends == SendsForm::AsPlatformReads ||
                            result.afterForm == AfterForm::Unchanged ||
                            result.afterForm == AfterForm::AsOneRepairWrite ||
                            (!noFile && p != Placement::ReadOnlyFolder);
    if ((seen & 0b111000u) != 0b111000u || (result.bytes && noFile) ||
        (!result.bytes && fileNeeded)) {
        Fail(lines.size(), "a case needs '== sends', '== log' and '== after', and a '== file' "
                           "just where its placement and its keywords take one");
    }
    return result;
}

} // namespace testing
