#include "settings/guards/text_form.h"

namespace settings {

TextForm TextFormOf(std::string_view start) {
    if (start.substr(0, 3) == "\xEF\xBB\xBF") {
        return TextForm::Utf8WithMark;
    }
    if (start.substr(0, 2) == "\xFF\xFE") {
        return TextForm::Utf16Le;
    }
    if (start.substr(0, 2) == "\xFE\xFF") {
        return TextForm::Utf16Be;
    }
    return TextForm::Bytes;
}

void ReadableRewrite::Convert(std::string_view chunk, std::string& out) {
    if (form_ == TextForm::Utf8WithMark) {
        std::size_t dropped = chunk.size() < markLeft_ ? chunk.size() : markLeft_;
        markLeft_ -= dropped;
        out.append(chunk.substr(dropped));
        return;
    }
    if (form_ == TextForm::Utf16Be) {
        for (char byte : chunk) {
            if (!halfUnit_) {
                firstByte_ = byte;
                halfUnit_ = true;
                continue;
            }
            out += byte;
            out += firstByte_;
            halfUnit_ = false;
        }
        return;
    }
    out.append(chunk); // bytes and UTF-16 LE stay as they are
}

void ReadableRewrite::Finish(std::string& out) {
    if (halfUnit_) {
        out += firstByte_;
        halfUnit_ = false;
    }
}

} // namespace settings
