// The forms a settings file's text comes in, and the rewrite into one Windows' profile functions
// read, fed its bytes in chunks of any size.
#include "settings/guards/text_form.h"

#include <doctest.h>

#include <string>

using settings::TextForm;

namespace {

std::string Rewritten(TextForm form, const std::string& bytes, std::size_t chunk) {
    settings::ReadableRewrite rewrite(form);
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        rewrite.Convert(std::string_view(bytes).substr(at, chunk), out);
    }
    rewrite.Finish(out);
    return out;
}

} // namespace

TEST_CASE("the first bytes tell the form, and the rewrite drops the UTF-8 mark and swaps UTF-16 BE "
          "units, whatever the chunks it is fed") {
    CHECK(settings::TextFormOf("\xEF\xBB\xBF") == TextForm::Utf8WithMark);
    CHECK(settings::TextFormOf("\xFF\xFE[") == TextForm::Utf16Le);
    CHECK(settings::TextFormOf("\xFE\xFF") == TextForm::Utf16Be);
    CHECK(settings::TextFormOf("\xEF\xBB") == TextForm::Bytes); // a cut mark is text
    CHECK(settings::TextFormOf("") == TextForm::Bytes);
    CHECK(settings::TextFormOf("[Se") == TextForm::Bytes);

    const std::string text = "[Settings]\r\nbDebugMode=1\r\n";
    std::string bigEndian = "\xFE\xFF";
    std::string littleEndian = "\xFF\xFE";
    for (char c : text) {
        bigEndian += {'\0', c};
        littleEndian += {c, '\0'};
    }
    for (std::size_t chunk : {1u, 2u, 3u, 5u, 4096u}) {
        INFO("chunk ", chunk);
        CHECK(Rewritten(TextForm::Utf8WithMark, "\xEF\xBB\xBF" + text, chunk) == text);
        CHECK(Rewritten(TextForm::Utf16Be, bigEndian, chunk) == littleEndian);
        // A last byte without its partner is kept as it was.
        CHECK(Rewritten(TextForm::Utf16Be, bigEndian + "x", chunk) == littleEndian + "x");
        CHECK(Rewritten(TextForm::Bytes, text, chunk) == text);
    }
    CHECK(Rewritten(TextForm::Utf8WithMark, "\xEF\xBB\xBF", 1).empty());
}
