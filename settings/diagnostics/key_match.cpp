#include "settings/diagnostics/key_match.h"

#include <algorithm>
#include <array>
#include <string>

namespace settings {

namespace {

char Folded(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

consteval std::size_t LongestKey() {
    std::size_t longest = 0;
    for (const SettingKey& key : kSettingKeys) {
        longest = std::max(longest, std::char_traits<char>::length(key.name));
    }
    return longest;
}

// Names are measured only against keys within kTypoEdits of their length: no measured name is
// longer than this.
constexpr std::size_t kLongestMeasured = 48;
static_assert(LongestKey() + kTypoEdits <= kLongestMeasured);
using Row = std::array<std::size_t, kLongestMeasured + 1>;

// Edits from a to b, a swap of two neighbours counting as one, letter case ignored. Neither is
// longer than kLongestMeasured.
std::size_t Edits(std::string_view a, std::string_view b) {
    // Three rows of the usual table: two back (for swaps), one back, and the current one.
    Row twoBack{};
    Row back{};
    Row row{};
    for (std::size_t j = 0; j <= b.size(); ++j) {
        back[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t change = Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1;
            row[j] = std::min({back[j] + 1, row[j - 1] + 1, back[j - 1] + change});
            if (i > 1 && j > 1 && Folded(a[i - 1]) == Folded(b[j - 2]) &&
                Folded(a[i - 2]) == Folded(b[j - 1])) {
                row[j] = std::min(row[j], twoBack[j - 2] + 1);
            }
        }
        twoBack = back;
        back = row;
    }
    return back[b.size()];
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Folded(x) == Folded(y);
           });
}

const SettingKey* SettingKeyNamed(std::string_view name) {
    for (const SettingKey& key : kSettingKeys) {
        if (SameName(name, key.name)) {
            return &key;
        }
    }
    return nullptr;
}

const SettingKey* ClosestSettingKey(std::string_view name) {
    for (const SettingKey& key : kSettingKeys) {
        std::string_view known = key.name;
        std::size_t apart =
            name.size() > known.size() ? name.size() - known.size() : known.size() - name.size();
        if (apart <= kTypoEdits && Edits(name, known) <= kTypoEdits) {
            return &key;
        }
    }
    return nullptr;
}

} // namespace settings
