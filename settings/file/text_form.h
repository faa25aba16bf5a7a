#pragma once
// How a settings file stores its text, told once from its first bytes, and the two things made of
// its one copy in memory: the text itself, for the plugin's own reading, and the bytes of the same
// text in a form Windows' profile functions read. Those read ANSI (UTF-8 without a mark goes
// through as its bytes) and UTF-16 little-endian behind its mark FF FE; they take a UTF-8 mark for
// text of the first line, which hides a section line standing there, and they do not read UTF-16
// big-endian (docs/windows-behaviour.md, rows 14 to 18).
#include <string>
#include <string_view>

namespace settings {

enum class TextForm {
    Bytes,        // ANSI, or UTF-8 without a mark: read as they stand
    Utf16Le,      // FF FE: read by the profile functions
    Utf8WithMark, // EF BB BF: needs the mark removed
    Utf16Be,      // FE FF: needs its units swapped, the mark with them
};

TextForm TextFormOf(std::string_view bytes);

// Whether Windows' profile functions read a file of this form only once it is rewritten.
inline bool NeedsRewrite(TextForm form) {
    return form == TextForm::Utf8WithMark || form == TextForm::Utf16Be;
}

inline bool IsUtf16(TextForm form) {
    return form == TextForm::Utf16Le || form == TextForm::Utf16Be;
}

// The file's text: UTF-16 as UTF-8 (an unpaired surrogate as U+FFFD, the last byte of an odd
// length dropped), any other file as its bytes behind a UTF-8 mark, if it has one.
std::string DecodedText(std::string_view bytes, TextForm form);

// The same text as Windows reads it: the UTF-8 mark dropped, UTF-16 big-endian made little-endian
// unit by unit (the last byte of an odd length kept as it is), any other form as it stands.
std::string ReadableBytes(std::string_view bytes, TextForm form);

} // namespace settings
