// The forms a settings file's text comes in, and the rewrite into one Windows' profile functions
// read, fed its bytes in chunks of any size.
#include "settings/rewrite_lines.h"
#include "settings/text_form.h"

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

TEST_CASE("a rewrite that fails names its cause and what to do, with the Windows error where there "
          "is no plainer cause") {
    auto line = [](settings::RewriteFailure failure) {
        return settings::RewriteFailedLine(TextForm::Utf16Be, {failure, 5});
    };
    const std::string start = "Install_Helmshroud :: Error: Helmshroud.ini is saved as UTF-16 "
                              "big-endian, which Windows can't read, and it couldn't be "
                              "rewritten: ";
    const std::string end = ", or save the file as ANSI, UTF-8 without a byte-order mark, or "
                            "UTF-16 LE with its byte-order mark.";
    const std::string nothingSent = ". Nothing sent, and the file was left as it is: ";
    CHECK(line(settings::RewriteFailure::NoTemporary) ==
          start + "no new file can be made in its folder (Windows error 5)" + nothingSent +
              "let the game write to its Data\\KORV\\Plugins folder" + end);
    CHECK(line(settings::RewriteFailure::Replace) ==
          start + "Windows error 5" + nothingSent + "load a game again" + end);
    CHECK(line(settings::RewriteFailure::Copy) == line(settings::RewriteFailure::Replace));
}
