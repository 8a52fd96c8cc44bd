// make_manuals: writes the manual pages and the bash completion that the
// build installs, from the programs' own help texts.
//
// Usage: make_manuals FOLDER   (writes candelux.1, candelux-cli.1 and
//                               candelux-cli.bash)

#include <fstream>
#include <iostream>
#include <string>

#include "app/application_help.h"
#include "cli/cli_manual.h"

namespace {

bool write(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) return true;
    std::cerr << "make_manuals: cannot write " << path << '\n';
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: make_manuals FOLDER\n";
        return 1;
    }
    const std::string folder = argv[1];
    const bool ok = write(folder + "/candelux.1", application_manual_page()) &&
                    write(folder + "/candelux-cli.1", cli_manual_page()) &&
                    write(folder + "/candelux-cli.bash", cli_bash_completion());
    return ok ? 0 : 1;
}
