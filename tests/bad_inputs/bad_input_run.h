#pragma once
// Runs the real plugin in the simulated game once per case, all of them at the same time, each in
// its own game and documents folders, and gathers what every run left behind.
#include "tests/bad_inputs/case_file.h"
#include "tests/simulated_game/simulator_run.h"

#include <string>
#include <vector>

namespace testing {

struct CaseOutcome {
    bool installed = false; // the plugin was copied into the game folder
    bool prepared = false;  // the settings file stood as the case asks
    SimulatorRun run;
    std::string log;   // the plugin's log file
    std::string after; // the settings file's bytes after the run
    // The settings file's entry after the run.
    bool fileExists = false;
    bool fileIsFolder = false;
    bool fileReadOnly = false;
    bool pluginFolderPlain = false;   // the plugin folder is a folder with no other attribute
    std::vector<std::string> entries; // below the plugin folder after the run
    // The eighteen keys as this program's profile reads see the file after the run, in send
    // order; empty when the file cannot be read.
    std::vector<std::string> valuesAfter;
};

std::vector<CaseOutcome> RunCases(const std::vector<CaseFile>& cases);

// Whether the read-only mark on a file keeps this program from opening it for writing. Windows
// says yes; Wine maps the mark onto the Unix permissions, which do not bind a process running as
// root.
bool ReadOnlyMarkStopsWrites();

// The eighteen values, in send order, that this program's profile reads give for a file of these
// bytes: what the platform reads, whichever it is.
std::vector<std::string> ValuesReadFrom(const std::string& bytes);

// The bytes one WritePrivateProfileStringA of bDebugMode=0 into [Settings] makes of a file.
std::string AfterOneRepairWrite(const std::string& bytes);

} // namespace testing
