#pragma once
// Runs the real plugin in the simulated game once per bad input, all of them at the same time, each
// in its own game and documents folders, and gathers what every run left behind.
#include "tests/bad_inputs/bad_input.h"
#include "tests/simulated_game/simulator_run.h"

#include <string>
#include <vector>

namespace testing {

struct BadInputOutcome {
    bool installed = false; // the plugin was copied into the game folder
    bool prepared = false;  // the settings file stood as the input asks
    SimulatorRun run;
    std::string log;                    // the plugin's log file
    std::string after;                  // the settings file's bytes after the run
    unsigned long fileAttributes = 0;   // of the settings file's entry after the run
    unsigned long folderAttributes = 0; // of the plugin folder after the run
    std::vector<std::string> entries;   // below the plugin folder after the run
    // The eighteen keys as this program's profile reads see the file after the run, in send
    // order; empty when the file cannot be read.
    std::vector<std::string> valuesAfter;
};

std::vector<BadInputOutcome> RunBadInputs(const std::vector<BadInput>& inputs);

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
