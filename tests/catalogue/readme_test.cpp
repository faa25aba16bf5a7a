// The player's readme and the catalogue of the lines the plugin can write hold each other: every
// line the readme quotes is one the plugin writes, and every line and part the plugin can write is
// quoted in the readme. Placeholders match whatever they are called: printf's conversions in the
// catalogue, <...> in the readme.
#include "catalogue/log_lines.h"

#include <doctest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Each placeholder as "<>".
std::string Normalised(const std::string& text, bool printf) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (printf && text[i] == '%') {
            i = text.find_first_of("diouxXcsp", i + 1);
            out += "<>";
        } else if (!printf && text[i] == '<' && text.find('>', i) != std::string::npos) {
            i = text.find('>', i);
            out += "<>";
        } else {
            out += text[i];
        }
    }
    return out;
}

struct Readme {
    std::string text; // every line's words joined by single blanks
    // The lines it quotes: paragraphs that start with '"' after a blank line or another of them,
    // and end with '"'.
    std::vector<std::string> quoted;
};

Readme ReadReadme() {
    std::ifstream file(HELMSHROUD_PLAYER_README);
    REQUIRE(file);
    Readme readme;
    std::string line;
    std::string paragraph;
    bool boundary = true;
    while (std::getline(file, line)) {
        std::size_t start = line.find_first_not_of(' ');
        std::string words = start == std::string::npos ? "" : line.substr(start);
        readme.text += words + " ";
        if (paragraph.empty() && boundary && line.starts_with('"')) {
            paragraph = " ";
        }
        boundary = words.empty();
        if (!paragraph.empty()) {
            paragraph += words + " ";
        }
        if (!paragraph.empty() && line.ends_with('"')) {
            readme.quoted.push_back(Normalised(paragraph.substr(2, paragraph.size() - 4), false));
            paragraph.clear();
            boundary = true;
        }
    }
    readme.text = Normalised(readme.text, false);
    return readme;
}

} // namespace

TEST_CASE("every line the player's readme quotes is one the plugin writes, and every line and "
          "part of one the plugin can write is quoted in the readme") {
    const Readme readme = ReadReadme();
    std::vector<std::string> catalogue;
    for (const std::string line : lines::kEveryLine) {
        catalogue.push_back(Normalised(line, true));
        CAPTURE(line);
        CHECK(readme.text.find('"' + catalogue.back() + '"') != std::string::npos);
    }
    CHECK(readme.quoted.size() > 30);
    for (const std::string& quoted : readme.quoted) {
        CAPTURE(quoted);
        CHECK(std::find(catalogue.begin(), catalogue.end(), quoted) != catalogue.end());
    }
}
