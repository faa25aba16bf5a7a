#include "settings/read_check.h"

#include "korv_common/plugin_name.h"

#include <bit>

namespace settings {

KeyMask FailedReads(const SettingsScan& scan, const SettingValues& read) {
    KeyMask failed = 0;
    for (const SettingKey& key : kSettingKeys) {
        if ((scan.settingsValues & MaskOf(key)) != 0 && ValueOf(read, key).empty()) {
            failed |= MaskOf(key);
        }
    }
    return failed;
}

std::string FailedReadsLine(KeyMask failed) {
    std::string names;
    for (const SettingKey& key : kSettingKeys) {
        if ((failed & MaskOf(key)) != 0) {
            names += (names.empty() ? "" : ", ") + std::string(key.name);
        }
    }
    int count = std::popcount(failed);
    std::string what;
    if (count == 1) {
        what = "key '" + names + "' of " HELMSHROUD_INI_NAME ", which holds a value for it";
    } else {
        what = std::to_string(count) +
               " keys of " HELMSHROUD_INI_NAME ", which holds a value for each: " + names;
    }
    return "Install_Helmshroud :: Error: Windows couldn't read " + what +
           ". Nothing sent, and the file was left as it is; the next game load reads it again.";
}

} // namespace settings
