#include "tests/bad_inputs/case_file.h"

#include "tests/bad_inputs/bad_input.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace testing {

namespace {

using Lines = std::vector<std::pair<std::size_t, std::string_view>>; // number from 1, text

[[noreturn]] void Fail(std::size_t line, const std::string& what) {
    throw MalformedCase{line, what};
}

void NoLines(const Lines& body, std::string_view header) {
    if (!body.empty()) {
        Fail(body[0].first, "'== " + std::string(header) + "' takes no lines");
    }
}

// The place of word among the words of list, which are separated by '|'; nothing when it is not
// one of them.
std::optional<std::size_t> IndexOf(std::string_view list, std::string_view word) {
    for (std::size_t index = 0;; ++index) {
        const std::size_t bar = std::min(list.find('|'), list.size());
        if (list.substr(0, bar) == word) {
            return index;
        }
        if (bar == list.size()) {
            return std::nullopt;
        }
        list.remove_prefix(bar + 1);
    }
}

// A bound on what one repeat may write, so that a typing error can't take all the memory.
constexpr std::size_t kLongestRepeat = 64 * 1024 * 1024;

std::string Unescaped(std::string_view text, std::size_t line) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view rest = text.substr(i + 1);
        unsigned byte = 0;
        if (text[i] != '\\') {
            out += text[i];
        } else if (rest.starts_with('\\') || rest.starts_with('0')) {
            out += rest[0] == '0' ? '\0' : '\\';
            i += 1;
        } else if (rest.starts_with('x') && rest.size() >= 3 &&
                   std::from_chars(&rest[1], &rest[3], byte, 16).ptr == &rest[3]) {
            out += static_cast<char>(byte);
            i += 3;
        } else if (rest.starts_with('{')) {
            const std::size_t blank = rest.find(' ');
            const std::size_t close = rest.find('}');
            std::size_t times = 0;
            auto [end, error] = std::from_chars(&rest[1], rest.data() + rest.size(), times);
            if (close == rest.npos || blank > close || error != std::errc() ||
                end != &rest[blank]) {
                Fail(line, "a repeat is written \\{COUNT TEXT}");
            }
            const std::string unit = Unescaped(rest.substr(blank + 1, close - blank - 1), line);
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

// The bytes of a file block: its lines ended as the modifier says, then put in its form.
std::string Text(std::string_view modifier, const Lines& body, std::size_t line) {
    if (!IndexOf("|LF|CR|no final line end|utf-8 mark|utf-16 le|utf-16 be|utf-16 le without "
                 "mark|utf-16 be without mark",
                 modifier)) {
        Fail(line, "unknown modifier '" + std::string(modifier) + "'");
    }
    const std::string_view end = modifier == "LF" ? "\n" : modifier == "CR" ? "\r" : "\r\n";
    std::string text;
    for (std::size_t i = 0; i < body.size(); ++i) {
        text += Unescaped(body[i].second, body[i].first);
        text += i + 1 < body.size() || modifier != "no final line end" ? end : "";
    }
    if (modifier == "utf-8 mark") {
        return "\xEF\xBB\xBF" + text;
    }
    if (!modifier.starts_with("utf-16")) {
        return text;
    }
    const std::string wide = modifier.starts_with("utf-16 le") ? Utf16(text) : Utf16Be(text);
    return modifier.ends_with("without mark") ? wide.substr(2) : wide;
}

void ReadSends(const Lines& body, CaseFile& result) {
    const std::string_view only = body.size() == 1 ? body[0].second : "";
    if (only == "nothing" || only == "as the platform reads the file") {
        result.sends = only == "nothing" ? SendsForm::Nothing : SendsForm::AsPlatformReads;
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
        result.values[n - 1] = Unescaped(std::string_view(blank + 1, end), number);
        last = n;
    }
}

// One section: the words of its header after "== ", the lines below it.
void Read(std::string_view words, const Lines& body, std::size_t line, CaseFile& result) {
    const std::string_view name = words.substr(0, words.find(' '));
    const std::string_view rest = words.substr(std::min(name.size() + 1, words.size()));
    // In the order of AfterForm: a keyword takes no lines, modifiers take the file's.
    const auto after = IndexOf("|unchanged|none|as one repair write leaves it", rest).value_or(0);
    if (name == "placement" || name == "requires" || name == "entries" ||
        (name == "after" && after != 0)) {
        NoLines(body, words);
    }
    if (name == "placement") {
        // In the order of Placement.
        const auto placement = IndexOf("file|none|folder|read-only file|read-only folder|held "
                                       "without sharing|held sharing reads|temporary taken",
                                       rest);
        if (!placement) {
            Fail(line, "unknown placement");
        }
        result.placement = static_cast<Placement>(*placement);
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
    } else if (name == "after") {
        result.afterForm = static_cast<AfterForm>(after);
        if (after == 0) {
            result.after = Text(rest, body, line);
        }
    } else {
        result.entries.emplace();
        for (std::size_t at = 0; at < rest.size();) {
            const std::size_t blank = std::min(rest.find(' ', at), rest.size());
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
        if (end == std::string::npos) {
            Fail(lines.size() + 1, "the last line has no line end");
        }
        const std::string_view line = std::string_view(text).substr(at, end - at);
        if (line.find('\r') != line.npos || line.ends_with(' ') || line.ends_with('\t')) {
            Fail(lines.size() + 1, "a CR, or a blank or tab ending a line: write it as \\xNN");
        }
        lines.emplace_back(lines.size() + 1, line);
        at = end + 1;
    }
    std::size_t i = 0;
    while (i < lines.size() && lines[i].second.starts_with('#')) {
        ++i;
    }
    if (i == 0) {
        Fail(1, "a case begins with a comment saying what it shows");
    }
    // The sections in the order they come; sends, log and after may not be left out.
    constexpr std::string_view kOrder = "placement|requires|file|sends|log|after|entries";
    CaseFile result;
    std::size_t next = 0; // the first of kOrder that may still come
    unsigned seen = 0;
    while (i < lines.size()) {
        const auto [number, header] = lines[i];
        const std::string_view words = header.substr(std::min<std::size_t>(3, header.size()));
        const auto at = IndexOf(kOrder, words.substr(0, words.find(' ')));
        if (!header.starts_with("== ") || !at || *at < next) {
            Fail(number, "expected a '== ' line of a section that may come here");
        }
        next = *at + 1;
        seen |= 1u << *at;
        Lines body;
        while (++i < lines.size() && !lines[i].second.starts_with("== ")) {
            body.push_back(lines[i]);
        }
        Read(words, body, number, result);
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
