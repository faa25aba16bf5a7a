#pragma once
// How a settings file stores its text, told by its first bytes, and the rewrite that turns the
// forms Windows' profile functions misread into one they read. Windows' profile reader reads ANSI
// (UTF-8 without a mark goes through as its bytes) and UTF-16 little-endian behind its mark FF FE;
// it takes a UTF-8 mark for text of the first line, which hides a section header standing there,
// and it does not read UTF-16 big-endian. The rewrite keeps every other byte's meaning: the UTF-8
// mark is dropped and the rest copied, UTF-16 big-endian becomes little-endian unit by unit.
#include <cstddef>
#include <string>
#include <string_view>

namespace settings {

// The forms Windows' profile functions read, as players' editors name them: the advice of every
// log line about a file's encoding.
inline constexpr char kFormsWindowsReads[] =
    "ANSI, UTF-8 without a byte-order mark, or UTF-16 LE with its byte-order mark";

enum class TextForm {
    Bytes,        // ANSI, or UTF-8 without a mark: read as they stand
    Utf16Le,      // FF FE: read by the profile functions
    Utf8WithMark, // EF BB BF: needs the mark removed
    Utf16Be,      // FE FF: needs its units swapped, the mark with them
};

// The form of a file that begins with start (its first three bytes, or all of a shorter file).
TextForm TextFormOf(std::string_view start);

// Whether Windows' profile functions read a file of this form only after the rewrite.
inline bool NeedsRewrite(TextForm form) {
    return form == TextForm::Utf8WithMark || form == TextForm::Utf16Be;
}

// The rewrite of one file, fed its bytes in chunks of any size, in order.
class ReadableRewrite {
  public:
    explicit ReadableRewrite(TextForm form) : form_(form) {}

    // Appends to out what the next chunk of the file becomes.
    void Convert(std::string_view chunk, std::string& out);
    // Appends what is left once the file has ended: the last byte of a big-endian file of odd
    // length, kept as it was.
    void Finish(std::string& out);

  private:
    TextForm form_;
    std::size_t markLeft_ = 3; // of the UTF-8 mark, still to drop
    bool halfUnit_ = false;    // a big-endian unit's first byte is waiting for its second
    char firstByte_ = 0;
};

} // namespace settings
