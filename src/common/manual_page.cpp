#include "common/manual_page.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

// One line of text as roff shows it literally.
std::string roff_line(const std::string& line) {
    std::string out;
    if (!line.empty() && (line[0] == '.' || line[0] == '\'')) out = "\\&";
    for (char c : line) {
        if (c == '\\') out += "\\e";
        else if (c == '-') out += "\\-";
        else out += c;
    }
    return out;
}

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string roff_manual_page(const ManualPage& page) {
    std::ostringstream out;
    out << ".TH " << upper(page.name) << " 1 \"\" \"" << page.name << ' ' << page.version << "\" \"User Commands\"\n";
    out << ".SH NAME\n" << roff_line(page.name + " - " + page.summary) << '\n';
    for (const ManualSection& section : page.sections) {
        out << ".SH " << upper(section.title) << "\n.nf\n";
        std::istringstream lines(section.text);
        std::string line;
        while (std::getline(lines, line)) out << roff_line(line) << '\n';
        out << ".fi\n";
    }
    return out.str();
}

std::vector<std::string> listed_words(const std::string& help_text) {
    std::vector<std::string> words;
    std::istringstream lines(help_text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() < 3 || line[0] != ' ' || line[1] != ' ' || line[2] == ' ' || line[2] == '-') continue;
        const auto end = line.find(' ', 2);
        words.push_back(line.substr(2, end == std::string::npos ? std::string::npos : end - 2));
    }
    return words;
}

std::vector<std::string> named_options(const std::string& help_text) {
    std::vector<std::string> options;
    for (size_t at = help_text.find("--"); at != std::string::npos; at = help_text.find("--", at + 2)) {
        if (at > 0 && !std::isspace(static_cast<unsigned char>(help_text[at - 1])) && help_text[at - 1] != '[' &&
            help_text[at - 1] != '(' && help_text[at - 1] != '|')
            continue;
        size_t end = at + 2;
        while (end < help_text.size() &&
               (std::islower(static_cast<unsigned char>(help_text[end])) || help_text[end] == '-'))
            ++end;
        if (end == at + 2) continue;
        const std::string option = help_text.substr(at, end - at);
        if (std::find(options.begin(), options.end(), option) == options.end()) options.push_back(option);
        at = end - 2;
    }
    return options;
}
