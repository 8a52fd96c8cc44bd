#include "cli/cli.h"

#include "cli/cli_commands.h"

int run_cli(const std::vector<std::string>& words, const CliPlaces& places, std::ostream& out, std::ostream& err,
            bool err_is_terminal) {
    const CliOutput output{out, err, words.empty() ? std::string() : words[0], err_is_terminal};
    if (words.size() == 1 && words[0] == "--version") {
        out << "candelux-cli " << CANDELUX_VERSION << '\n';
        return 0;
    }
    auto parsed = parse_cli_arguments(words);
    if (!parsed) {
        err << "candelux-cli" << (output.command.empty() || output.command[0] == '-' ? "" : " " + output.command)
            << ": " << parsed.failure().message << '\n';
        return exit_bad_input;
    }
    const CliCommand& command = parsed.value();
    if (const auto* help = std::get_if<HelpRequest>(&command)) {
        const std::string text = cli_help(help->command);
        if (text.empty()) {
            err << "candelux-cli: no help for \"" << help->command << "\"\n";
            return exit_bad_input;
        }
        out << text;
        return 0;
    }
    if (const auto* options = std::get_if<LuminanceOptions>(&command)) return run_luminance(*options, output);
    if (const auto* options = std::get_if<StatsOptions>(&command)) return run_stats(*options, places, output);
    if (const auto* options = std::get_if<FalsecolorOptions>(&command)) return run_falsecolor(*options, places, output);
    if (const auto* options = std::get_if<IlluminanceOptions>(&command)) return run_illuminance(*options, output);
    if (const auto* options = std::get_if<AssembleOptions>(&command)) return run_assemble(*options, output);
    if (const auto* options = std::get_if<CaptureOptions>(&command)) return run_capture(*options, output);
    if (const auto* options = std::get_if<ProfileOptions>(&command)) return run_profile(*options, output);
    if (const auto* options = std::get_if<SeriesCliOptions>(&command)) return run_series_command(*options, places, output);
    return run_batch_command(std::get<BatchOptions>(command), places, output);
}
