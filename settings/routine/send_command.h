#pragma once
// The console command that hands one value to the companion script.
#include "korv_common/plugin_name.h"

#include <string>

namespace settings {

// Read by the game's console: command CGF, the script-qualified function, one trailing blank.
inline constexpr char kSendIniDataPrefix[] = "CGF \"" HELMSHROUD_PLUGIN_NAME ".SendIniData\" ";

// prefix + number + " " + value, the value exactly as read.
inline std::string SendIniDataCommand(int number, const std::string& value) {
    std::string command = kSendIniDataPrefix;
    command += std::to_string(number);
    command += ' ';
    command += value;
    return command;
}

} // namespace settings
