#include "cli/cli_manual.h"

#include <algorithm>
#include <sstream>

#include "cli/cli.h"
#include "common/manual_page.h"

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
    return text;
}

constexpr const char* environment_text = R"(CANDELUX_PROGRAMS   the folder of the picture programs, e.g. the bin folder of
                    a Radiance installation (default: the programs installed
                    with candelux)
XDG_CACHE_HOME      the default cache folder is candelux below it (else
                    ~/.cache/candelux)
XDG_CONFIG_HOME     the settings file is candelux/settings.asf below it (else
                    ~/.config/candelux/settings.asf); its cache folder is used
)";

}  // namespace

std::vector<std::string> cli_commands() { return listed_words(cli_help("")); }

std::string cli_manual_page() {
    ManualPage page{"candelux-cli", "luminance analysis of Radiance pictures from scripts", CANDELUX_VERSION, {}};
    page.sections.push_back({"Synopsis", cli_help("")});
    page.sections.push_back({"Options", "--help     this text; COMMAND --help: the command's own\n"
                                        "--version  the version of candelux-cli\n"});
    for (const std::string& command : cli_commands()) page.sections.push_back({"Command " + command, cli_help(command)});
    page.sections.push_back({"Environment", environment_text});
    page.sections.push_back({"See also", "candelux(1)\n"});
    return roff_manual_page(page);
}

std::string cli_bash_completion() {
    std::ostringstream out;
    out << "# bash completion for candelux-cli (made from its --help texts)\n"
           "_candelux_cli() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} options=\"\"\n"
           "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
           "        COMPREPLY=($(compgen -W \""
        << joined(cli_commands())
        << " help --help --version\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case \"${COMP_WORDS[1]}\" in\n";
    for (const std::string& command : cli_commands()) {
        std::vector<std::string> options = named_options(cli_help(command));
        if (std::find(options.begin(), options.end(), "--help") == options.end()) options.push_back("--help");
        out << "        " << command << ") options=\"" << joined(options) << "\" ;;\n";
    }
    out << "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _candelux_cli candelux-cli\n";
    return out.str();
}
