#pragma once
// A settings file's bytes as the characters of its text, as its marks say it is written, fed in
// chunks of any split: UTF-16 behind FF FE or FE FF comes out as UTF-8 (an unpaired surrogate as
// U+FFFD); any other file as its bytes, a UTF-8 mark passed over. What the profile functions make
// of a mark is theirs to answer.
#include "settings/guards/text_form.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace settings {

class TextDecoder {
  public:
    // Appends to out the characters the next bytes complete.
    void Decode(std::string_view bytes, std::string& out);
    // Appends what the file's end completes: the bytes of a file too short to tell its form, or
    // U+FFFD for a high surrogate it ends on. The last byte of UTF-16 of odd length is no
    // character.
    void Finish(std::string& out);
    // Whether the text is the file's bytes (ANSI, or UTF-8).
    bool Bytes() const { return form_ != TextForm::Utf16Le && form_ != TextForm::Utf16Be; }

  private:
    void DecideForm(std::string& out);
    void Unit(std::uint16_t unit, std::string& out);

    bool known_ = false;
    TextForm form_ = TextForm::Bytes;
    std::string start_; // the first bytes, until they tell the form
    bool halfUnit_ = false;
    unsigned char firstByte_ = 0; // a unit's first byte
    std::uint16_t highSurrogate_ = 0;
};

} // namespace settings
