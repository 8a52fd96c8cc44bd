#pragma once
// Manual pages (roff, man(7) macros) made from the program's own help texts,
// so that `man candelux-cli` and `candelux-cli --help` cannot drift apart.
// Help texts are kept as written: each section is set without filling.

#include <string>
#include <vector>

struct ManualSection {
    std::string title;  // "DESCRIPTION", "COMMANDS", ...
    std::string text;   // plain text, lines as they are to appear
};

struct ManualPage {
    std::string name;     // "candelux-cli"
    std::string summary;  // the one line of the NAME section
    std::string version;  // "1.0.0.0"
    std::vector<ManualSection> sections;
};

// The page in roff. Backslashes are escaped, and a line that starts with a
// dot or an apostrophe cannot be read as a request.
std::string roff_manual_page(const ManualPage& page);

// The text of a help text's indented listing: the first word of every line
// that starts with exactly two blanks ("  stats PICTURE ..." gives "stats").
std::vector<std::string> listed_words(const std::string& help_text);

// Every distinct long option ("--json") that a help text names, in order.
std::vector<std::string> named_options(const std::string& help_text);
