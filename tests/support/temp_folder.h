#pragma once
// A fresh folder under the Windows temporary folder, removed with everything in it at the end of
// the test.
#include <string>

namespace testing {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Ends with a backslash.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return path_ + relative; }

  private:
    std::string path_;
};

// Makes folder the working directory for the life of the object.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::string& folder);
    ~WorkingDirectory();
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::string previous_;
};

} // namespace testing
