#include "settings/diagnostics/text_decoder.h"

namespace settings {

namespace {

constexpr std::uint32_t kReplacement = 0xFFFD;

void AppendUtf8(std::uint32_t point, std::string& out) {
    auto put = [&out](std::uint32_t byte) { out += static_cast<char>(byte); };
    if (point < 0x80) {
        put(point);
    } else if (point < 0x800) {
        put(0xC0 | (point >> 6));
        put(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        put(0xE0 | (point >> 12));
        put(0x80 | ((point >> 6) & 0x3F));
        put(0x80 | (point & 0x3F));
    } else {
        put(0xF0 | (point >> 18));
        put(0x80 | ((point >> 12) & 0x3F));
        put(0x80 | ((point >> 6) & 0x3F));
        put(0x80 | (point & 0x3F));
    }
}

} // namespace

void TextDecoder::Decode(std::string_view bytes, std::string& out) {
    while (!known_ && !bytes.empty()) {
        start_ += bytes.front();
        bytes.remove_prefix(1);
        if (start_.size() == 3 || start_ == "\xFF\xFE" || start_ == "\xFE\xFF") {
            DecideForm(out);
        }
    }
    if (Bytes()) {
        out += bytes;
        return;
    }
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (!halfUnit_) {
            firstByte_ = byte;
            halfUnit_ = true;
            continue;
        }
        halfUnit_ = false;
        Unit(static_cast<std::uint16_t>(form_ == TextForm::Utf16Le ? firstByte_ | (byte << 8)
                                                                   : (firstByte_ << 8) | byte),
             out);
    }
}

void TextDecoder::Finish(std::string& out) {
    if (!known_) {
        DecideForm(out);
    }
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        AppendUtf8(kReplacement, out);
    }
}

void TextDecoder::DecideForm(std::string& out) {
    known_ = true;
    form_ = TextFormOf(start_);
    if (form_ == TextForm::Bytes) {
        out += start_;
    }
    start_.clear();
}

void TextDecoder::Unit(std::uint16_t unit, std::string& out) {
    bool high = unit >= 0xD800 && unit <= 0xDBFF;
    bool low = unit >= 0xDC00 && unit <= 0xDFFF;
    if (highSurrogate_ != 0) {
        std::uint32_t first = highSurrogate_;
        highSurrogate_ = 0;
        if (low) {
            AppendUtf8(0x10000 + ((first - 0xD800) << 10) + (unit - 0xDC00u), out);
            return;
        }
        AppendUtf8(kReplacement, out);
    }
    if (high) {
        highSurrogate_ = unit;
    } else {
        AppendUtf8(low ? kReplacement : unit, out);
    }
}

} // namespace settings
