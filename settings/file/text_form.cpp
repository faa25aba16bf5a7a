#include "settings/file/text_form.h"

#include <cstdint>
#include <utility>

namespace settings {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::uint32_t kReplacement = 0xFFFD;

void AppendUtf8(std::uint32_t point, std::string& out) {
    int more = point < 0x80      ? 0
               : point < 0x800   ? 1
               : point < 0x10000 ? 2
                                 : 3; // bytes after the first
    out += static_cast<char>(more == 0 ? point
                                       : ((0xFF00u >> (more + 1)) & 0xFF) | (point >> (6 * more)));
    for (int shift = 6 * (more - 1); shift >= 0; shift -= 6) {
        out += static_cast<char>(0x80 | ((point >> shift) & 0x3F));
    }
}

// The UTF-16 units behind the mark, as UTF-8.
std::string Utf16AsUtf8(std::string_view bytes, bool bigEndian) {
    std::string text;
    text.reserve(bytes.size());
    std::uint32_t high = 0; // a high surrogate waiting for its low one
    for (std::size_t at = 2; at + 1 < bytes.size(); at += 2) {
        std::uint32_t first = static_cast<unsigned char>(bytes[at]);
        std::uint32_t second = static_cast<unsigned char>(bytes[at + 1]);
        std::uint32_t unit = bigEndian ? (first << 8) | second : (second << 8) | first;
        bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
        bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high != 0 && isLow) {
            AppendUtf8(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00), text);
            high = 0;
            continue;
        }
        if (high != 0) {
            AppendUtf8(kReplacement, text);
        }
        high = isHigh ? unit : 0;
        if (!isHigh) {
            AppendUtf8(isLow ? kReplacement : unit, text);
        }
    }
    if (high != 0) {
        AppendUtf8(kReplacement, text);
    }
    return text;
}

} // namespace

TextForm TextFormOf(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) {
        return TextForm::Utf8WithMark;
    }
    if (bytes.starts_with("\xFF\xFE")) {
        return TextForm::Utf16Le;
    }
    if (bytes.starts_with("\xFE\xFF")) {
        return TextForm::Utf16Be;
    }
    return TextForm::Bytes;
}

std::string DecodedText(std::string_view bytes, TextForm form) {
    switch (form) {
    case TextForm::Utf16Le:
    case TextForm::Utf16Be:
        return Utf16AsUtf8(bytes, form == TextForm::Utf16Be);
    case TextForm::Utf8WithMark:
        return std::string(bytes.substr(kUtf8Mark.size()));
    default:
        return std::string(bytes);
    }
}

std::string ReadableBytes(std::string_view bytes, TextForm form) {
    std::string readable(form == TextForm::Utf8WithMark ? bytes.substr(kUtf8Mark.size()) : bytes);
    for (std::size_t at = 0; form == TextForm::Utf16Be && at + 1 < readable.size(); at += 2) {
        std::swap(readable[at], readable[at + 1]);
    }
    return readable;
}

} // namespace settings
