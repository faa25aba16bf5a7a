#pragma once
// Points this test program's import of one Windows function at a test double for the life of the
// object, then puts the original back. The double may call the original through Original().
namespace testing {

class ImportDouble {
  public:
    // dll and function as the import table names them, e.g. "KERNEL32.dll", "GetFileAttributesExW".
    ImportDouble(const char* dll, const char* function, void* replacement);
    ~ImportDouble();
    ImportDouble(const ImportDouble&) = delete;
    ImportDouble& operator=(const ImportDouble&) = delete;

    // False when this program does not import the function.
    bool Installed() const { return original_ != nullptr; }
    void* Original() const { return original_; }

  private:
    const char* dll_;
    const char* function_;
    void* original_;
};

} // namespace testing
