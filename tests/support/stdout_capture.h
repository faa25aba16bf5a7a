#pragma once
// Sends everything this process writes to its standard output into a file for the life of the
// object, so a test can read what was printed. The stream object stays the same; only its file
// descriptor is pointed elsewhere, so code that cached the stream is captured too.
#include "tests/support/temp_folder.h"

#include <string>

namespace testing {

class StdoutCapture {
  public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Ends the capture and returns every byte written since it began. Check results only after
    // this: a failing check prints to standard output.
    std::string Finish();

  private:
    void Restore();

    TempFolder folder_;
    std::string path_;
    int saved_ = -1;
    int file_ = -1;
};

} // namespace testing
