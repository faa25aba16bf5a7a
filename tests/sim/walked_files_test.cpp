#include "sim/doubles/walked_files.h"

#include <doctest.h>

using sim::IsLogFile;
using sim::IsSettingsFile;

TEST_CASE(
    "a walk of the settings file counts the file and its temporary file, whatever that file's "
    "suffix, by the last part of the path and without regard to case") {
    CHECK(IsSettingsFile(L"\\\\?\\Z:\\game\\Data\\KORV\\Plugins\\Helmshroud.ini"));
    CHECK(IsSettingsFile(L"Z:\\game\\Data\\KORV\\Plugins\\Helmshroud.ini.tmp"));
    CHECK(IsSettingsFile(L"Z:/game/HELMSHROUD.INI.New"));
    CHECK_FALSE(IsSettingsFile(L"Z:\\game\\Helmshroud.dll"));
    CHECK_FALSE(IsSettingsFile(L"Z:\\saves.ini.d\\Helmshroud.log"));
    CHECK_FALSE(IsSettingsFile(L""));

    CHECK(IsLogFile(L"\\\\?\\Z:\\documents\\KORV\\Logs\\Helmshroud.LOG"));
    CHECK_FALSE(IsLogFile(L"Z:\\documents\\Helmshroud.log.old"));
    CHECK_FALSE(IsSettingsFile(L"Z:\\documents\\Helmshroud.log"));
}
