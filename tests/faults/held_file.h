#pragma once
// A file that another program has open for writing, sharing it for reading only: nobody else can
// open it for writing while the object lives.
#include <string>

namespace testing {

class HeldFile {
  public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool Held() const { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;
};

} // namespace testing
