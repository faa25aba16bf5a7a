#pragma once
// Where the transcript's lines go: a file, or the simulator's original standard output (kept
// aside before the process's standard output is redirected to catch the plugin's output).
#include <string>

namespace sim {

// Creates (truncates) the file. False when it cannot be created.
bool OpenTranscriptFile(const std::string& path);
// Keeps a handle to the current standard output. Call before standard output is redirected.
bool UseStandardOutputForTranscript();

// Writes one line whole; lines written from several threads never mix.
void WriteTranscriptLine(const std::string& line);

} // namespace sim
