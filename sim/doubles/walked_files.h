#pragma once
// The files a plugin's calls are made on, known by their names: the doubles that count or slow
// the calls on some files only tell those files apart here.
#include <string>
#include <string_view>

namespace sim {

// A settings file or the temporary file it is rewritten through: a name that ends in ".ini", or
// such a name followed by a suffix of its own (the plugin writes "Helmshroud.ini.helmshroud-new"
// beside "Helmshroud.ini"). Only the last part of a path counts; letters match without regard to
// case.
bool IsSettingsFile(std::wstring_view path);

// A log file: a name that ends in ".log".
bool IsLogFile(std::wstring_view path);

// The path of the file a handle is open on; empty for a handle that is no file's.
std::wstring FileNameOf(void* handle);

// Text in the ANSI code page, as the command line and the A functions take it, in wide characters.
std::wstring AnsiToWide(std::string_view text);

} // namespace sim
