// The forms a settings file's text comes in: told from its first bytes, decoded into the text the
// plugin reads, and rewritten into bytes Windows' profile functions read.
#include "settings/file/text_form.h"

#include <doctest.h>

#include <string>

using namespace settings;

TEST_CASE("the first bytes tell the form, the text is decoded from it, and the rewrite drops the "
          "UTF-8 mark and swaps UTF-16 BE units") {
    CHECK(TextFormOf("\xEF\xBB\xBF[") == TextForm::Utf8WithMark);
    CHECK(TextFormOf("\xFF\xFE[") == TextForm::Utf16Le);
    CHECK(TextFormOf("\xFE\xFF") == TextForm::Utf16Be);
    CHECK(TextFormOf("\xEF\xBB") == TextForm::Bytes); // a cut mark is text
    CHECK(TextFormOf("") == TextForm::Bytes);

    // e acute, U+1F600 as a surrogate pair, a low surrogate alone, a high one before an ordinary
    // unit, a unit above the surrogates, a high surrogate the file ends on, then a last byte of an
    // odd length.
    const std::string le(
        "\xFF\xFE\xE9\x00\x3D\xD8\x00\xDE\x00\xDC\x3D\xD8\x41\x00\x01\xFF\x3D\xD8\x42", 19);
    CHECK(DecodedText(le, TextForm::Utf16Le) ==
          "\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD\xEF\xBF\xBD\x41\xEF\xBC\x81\xEF\xBF\xBD");
    std::string be = "\xFE\xFF";
    for (std::size_t i = 2; i + 1 < le.size(); i += 2) {
        be += {le[i + 1], le[i]};
    }
    CHECK(DecodedText(be, TextForm::Utf16Be) == DecodedText(le, TextForm::Utf16Le));
    CHECK(ReadableBytes(be + "x", TextForm::Utf16Be) == le.substr(0, 18) + "x");
    CHECK(DecodedText("\xEF\xBB\xBF[S]", TextForm::Utf8WithMark) == "[S]");
    CHECK(ReadableBytes("\xEF\xBB\xBF[S]", TextForm::Utf8WithMark) == "[S]");
    CHECK(ReadableBytes("[S]\xEF", TextForm::Bytes) == "[S]\xEF");
}
