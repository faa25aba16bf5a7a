#pragma once
// Reads the simulator's transcript: one entry per line, "<ms>  <source>  <kind>  <detail>", where
// source and kind are padded to 6 and 8 columns and the detail follows verbatim.
#include <string>
#include <vector>

namespace testing {

struct Entry {
    double ms = 0;
    std::string source;
    std::string kind;
    std::string detail;
};

class TranscriptReader {
  public:
    explicit TranscriptReader(const std::string& text);

    const std::vector<Entry>& Entries() const { return entries_; }
    // Entries of one kind (and source, when given), in order.
    std::vector<Entry> OfKind(const std::string& kind, const std::string& source = "") const;
    // The details of the entries of one kind, in order.
    std::vector<std::string> Details(const std::string& kind) const;
    std::vector<std::string> Commands() const { return Details("command"); }
    std::vector<std::string> StdoutLines() const { return Details("line"); }
    std::vector<std::string> Errors() const { return Details("error"); }
    // The value of a summary line "<key> <value>", or "" when there is none.
    std::string Summary(const std::string& key) const;
    // The first entry of the kind whose detail contains the text; null when none.
    const Entry* Find(const std::string& kind, const std::string& text) const;
    // True when some line could not be read as an entry.
    bool Malformed() const { return malformed_; }

  private:
    std::vector<Entry> entries_;
    bool malformed_ = false;
};

} // namespace testing
