// What the log tells a player about a settings file that is not as the plugin expects, and that a
// sound file gets no word at all. The values sent and the file's bytes are checked as for every
// bad input: the warnings change nothing else.
#include "tests/bad_inputs/bad_input_check.h"
#include "tests/support/expected_defaults.h"

#include <doctest.h>

#include <algorithm>
#include <cctype>

using namespace testing;

namespace {

const std::string kWeaponDrawnSentEmpty = "Install_Helmshroud :: Warning: 1 key in Helmshroud.ini "
                                          "is missing or empty and was sent empty: iIsWeaponDrawn.";

// text with its first `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

std::string WithoutTwoKeys(const std::string& text) {
    return Replaced(Replaced(text, "iIsWeaponDrawn=60\r\n", ""), "iInIsCombat=90\r\n", "");
}

std::string UnknownKeys(int count) {
    std::string lines;
    for (int i = 1; i <= count; ++i) {
        lines += "iUnknown" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    }
    return lines;
}

// A file whose text holds more than the platform may read from it: sent as the platform read it,
// nothing written, and where the platform read less than the text holds (as Wine reads these
// files), the warnings given.
BadInput ReadOtherwise(std::string name, const std::string& bytes,
                       const std::vector<std::string>& warnings) {
    std::vector<std::string> read = ValuesReadFrom(bytes);
    BadInput input = Kept(std::move(name), bytes, read);
    return read == FullValues() ? input : Warned(input, warnings);
}

} // namespace

TEST_CASE("a sound settings file, in any letter case and beside other sections, logs exactly the "
          "lines it logged before") {
    std::string upper = FullText();
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return static_cast<char>(std::toupper(c)); });
    RunAndCheck({
        Kept("the file as the plugin creates it", kDefaultSettingsFile,
             {"1", "-1", "-1", "-1", "1", "0", "0", "0", "0", "0", "0", "0", "-1", "0", "0", "0",
              "-1", "0"}),
        Kept("every name upper case", upper, FullValues()),
        Kept("other sections around [Settings]",
             "[Before]\r\nx=1\r\n" + FullText() + "[After]\r\niIsWeaponDrawn=2\r\n", FullValues()),
        Kept("signed and zero-led whole numbers",
             Replaced(Replaced(FullText(), "=10\r\n", "=+10\r\n"), "=60\r\n", "=-060\r\n"),
             With(With(FullValues(), 1, "+10"), 6, "-060")),
    });
}

TEST_CASE("keys missing or empty are named in one line and sent empty, and a missing bDebugMode "
          "only in its own line") {
    const std::string twoKeys =
        "Install_Helmshroud :: Warning: 2 keys in Helmshroud.ini are "
        "missing or empty and were sent empty: iIsWeaponDrawn, iInIsCombat.";
    const auto twoEmpty = With(With(FullValues(), 6, ""), 9, "");
    RunAndCheck({
        Warned(Kept("two keys missing", WithoutTwoKeys(FullText()), twoEmpty), {twoKeys}),
        Warned(Kept("a key empty", Replaced(FullText(), "=60", "="), With(FullValues(), 6, "")),
               {kWeaponDrawnSentEmpty}),
        Warned(Repaired("two keys and bDebugMode missing",
                        WithoutTwoKeys(FullTextWithoutDebugMode()), twoEmpty,
                        WithoutTwoKeys(FullTextWithoutDebugMode()) + "bDebugMode=0\r\n"),
               {twoKeys}),
    });
}

TEST_CASE("a key of [Settings] that is none of the eighteen is named with the key it most likely "
          "meant, and past five such keys the rest are counted") {
    const std::string misspelt = Replaced(FullText(), "iIsWeaponDrawn", "iIsWeaponDrwan");
    const std::vector<std::string> fiveUnknown = {Unknown("iUnknown1"), Unknown("iUnknown2"),
                                                  Unknown("iUnknown3"), Unknown("iUnknown4"),
                                                  Unknown("iUnknown5")};
    std::vector<std::string> sixUnknown = fiveUnknown;
    sixUnknown.push_back("Install_Helmshroud :: Warning: 1 more key in Helmshroud.ini is not one "
                         "of the plugin's keys and was ignored.");
    std::vector<std::string> eightUnknown = fiveUnknown;
    eightUnknown.push_back("Install_Helmshroud :: Warning: 3 more keys in Helmshroud.ini are none "
                           "of the plugin's keys and were ignored.");
    RunAndCheck({
        Warned(Kept("a misspelt key", misspelt, With(FullValues(), 6, "")),
               {Unknown("iIsWeaponDrwan", "iIsWeaponDrawn"), kWeaponDrawnSentEmpty}),
        Warned(Kept("a key spelt as the word is, and a key of another mod",
                    Replaced(FullText(), "Breatheable", "Breathable") + "iFavouriteColour=3\r\n",
                    With(FullValues(), 5, "")),
               {Unknown("iIsCurrentAtmosphereBreathable", "iIsCurrentAtmosphereBreatheable"),
                Unknown("iFavouriteColour"),
                "Install_Helmshroud :: Warning: 1 key in Helmshroud.ini is missing or empty and "
                "was sent empty: iIsCurrentAtmosphereBreatheable."}),
        Warned(Kept("six unknown keys", FullText() + UnknownKeys(6), FullValues()), sixUnknown),
        Warned(Kept("eight unknown keys", FullText() + UnknownKeys(8), FullValues()), eightUnknown),
    });
}

TEST_CASE("settings under another section, and a file with no [Settings] section, are told with "
          "the section's name") {
    const std::string underSetting = Replaced(FullText(), "[Settings]", "[Setting]");
    RunAndCheck({
        Warned(Repaired("the settings under [Setting]", underSetting, Values({}),
                        underSetting + "[Settings]\r\nbDebugMode=0\r\n"),
               {"Install_Helmshroud :: Warning: Helmshroud.ini has 18 of the plugin's keys under "
                "[Setting], not under [Settings], and they were not read. Move them under "
                "[Settings].",
                kAllSentEmpty}),
        Warned(Kept("one setting under another section",
                    Replaced(FullText(), "iIsWeaponDrawn=60\r\n", "") +
                        "[Extra]\r\niIsWeaponDrawn=5\r\n",
                    With(FullValues(), 6, "")),
               {"Install_Helmshroud :: Warning: Helmshroud.ini has 1 of the plugin's keys under "
                "[Extra], not under [Settings], and it was not read. Move it under [Settings].",
                kWeaponDrawnSentEmpty}),
        Warned(
            Repaired("no [Settings] section, another one", "[Other]\r\na=b\r\n", Values({}),
                     "[Other]\r\na=b\r\n[Settings]\r\nbDebugMode=0\r\n"),
            {"Install_Helmshroud :: Warning: Helmshroud.ini has no [Settings] section (its first "
             "section is [Other]). The plugin reads its settings only from [Settings].",
             kAllSentEmpty}),
    });
}

TEST_CASE("a value that does not fit its key's type prefix is named and sent as written") {
    const std::string text = Replaced(Replaced(Replaced(FullText(), "=60", "=yes"), "=90", "=1.5"),
                                      "bDebugMode=1", "bDebugMode=2");
    RunAndCheck({
        Warned(Kept("a word, a fraction and a bDebugMode of 2", text,
                    With(With(With(FullValues(), 6, "yes"), 9, "1.5"), 18, "2")),
               {Unfit("iIsWeaponDrawn", "yes"), Unfit("iInIsCombat", "1.5"),
                Unfit("bDebugMode", "2")}),
    });
}

// Wine's key listing stops at a key line without a name and takes the lines above the first
// section line for section "", where Windows takes a "[]" header: the warnings come from the file's
// text, so both get these.
TEST_CASE("a line without a key name first under [Settings] hides no key after it, and settings "
          "under [] are told apart from settings above the first section line") {
    const std::string misspelt =
        "[Settings]\r\n=5\r\n" +
        Replaced(FullText(), "iIsWeaponDrawn", "iIsWeaponDrwan").substr(12);
    const std::string noKeyName = "Install_Helmshroud :: Warning: a line under [Settings] in "
                                  "Helmshroud.ini has no key name before its '=' and was ignored.";
    RunAndCheck({
        Warned(Kept("a line without a key name, then a misspelt key", misspelt,
                    With(FullValues(), 6, "")),
               {noKeyName, Unknown("iIsWeaponDrwan", "iIsWeaponDrawn"), kWeaponDrawnSentEmpty}),
        Warned(
            Kept("a setting above the first section line and one under []",
                 "iIsWeaponDrawn=5\r\n[]\r\niInIsCombat=9\r\n[Settings]\r\nbDebugMode=1\r\n",
                 Values({{18, "1"}})),
            {"Install_Helmshroud :: Warning: Helmshroud.ini has 1 of the plugin's keys outside "
             "any section, not under [Settings], and it was not read. Move it under [Settings].",
             "Install_Helmshroud :: Warning: Helmshroud.ini has 1 of the plugin's keys under [], "
             "not under [Settings], and it was not read. Move it under [Settings].",
             kAllSentEmpty}),
    });
}

// Windows ends a section's name at its first ']' and takes a '[' line without one for a section
// line; Wine takes it for an ordinary line, and trims the DOS end-of-file mark (Ctrl-Z) as a blank.
TEST_CASE("a file the platform reads otherwise than its text stands goes out as the platform read "
          "it, is not repaired, and the log names the line and what to change") {
    const std::string warning = "Install_Helmshroud :: Warning: line ";
    RunAndCheck({
        ReadOtherwise("a section line without its closing bracket",
                      Replaced(FullText(), "[Settings]", "[Settings"),
                      {warning + "1 of Helmshroud.ini, '[Settings', may be read as another section "
                                 "than [Settings], and the values under it were read as empty and "
                                 "sent empty. Write the line as [Settings]."}),
        ReadOtherwise("a bDebugMode of a Ctrl-Z",
                      Replaced(FullText(), "bDebugMode=1", "bDebugMode=\x1A"),
                      {warning + "19 of Helmshroud.ini, 'bDebugMode=?', holds a value for "
                                 "bDebugMode that Windows read as empty, and it was sent empty. "
                                 "Retype the line in plain characters, or save the file as ANSI, "
                                 "UTF-8 without a byte-order mark, or UTF-16 LE with its "
                                 "byte-order mark."}),
    });
}
