#include "macro/earlier_step_files.h"

#include <charconv>
#include <filesystem>
#include <map>

#include "macro/picture_folder.h"

namespace fs = std::filesystem;

namespace {

std::string folded(std::string name) {
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return name;
}

std::string folder_of(const PicturePlan& picture) {
    return picture.source.substr(0, picture.source.size() - picture.name.size());
}

}  // namespace

std::vector<std::string> leftover_step_files(const BatchPlan& plan) {
    // The folders' step files by the picture they were made from, each
    // folder listed once.
    std::map<std::string, std::multimap<std::string, std::pair<long, std::string>>> by_folder;
    std::vector<std::string> leftovers;
    // Every picture runs the same steps: the sequence's lines that run.
    const long steps = plan.sequence.step_count();
    for (const PicturePlan& picture : plan.pictures) {
        if (!picture.refusal.empty()) continue;
        const std::string folder = folder_of(picture);
        auto [found, fresh] = by_folder.try_emplace(folder);
        if (fresh) {
            std::error_code ec;
            for (fs::directory_iterator it(folder.empty() ? "." : folder, ec); !ec && it != fs::directory_iterator();
                 it.increment(ec)) {
                const std::string name = it->path().filename().string();
                std::string_view rest;
                if (!looks_like_step_file(name, &rest)) continue;
                std::error_code type_error;
                if (fs::is_directory(it->symlink_status(type_error))) continue;
                long number = 0;
                const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
                if (error != std::errc()) continue;
                found->second.emplace(std::string(rest), std::pair{number, it->path().string()});
            }
        }
        const auto [first, last] = found->second.equal_range(picture.name);
        for (auto it = first; it != last; ++it)
            if (it->second.first > steps) leftovers.push_back(it->second.second);
    }
    return leftovers;
}

void refuse_steps_onto_inputs(BatchPlan& plan, const std::vector<std::string>& inputs) {
    std::map<std::string, std::string> by_folded_name;
    for (const std::string& input : inputs) by_folded_name.emplace(folded(input), input);
    for (PicturePlan& picture : plan.pictures) {
        if (!picture.refusal.empty()) continue;
        for (int step = 1; step <= plan.sequence.step_count(); ++step) {
            const std::string step_name = step_file_path("", step, picture.name).substr(1);
            const auto input = by_folded_name.find(folded(step_name));
            if (input == by_folded_name.end()) continue;
            picture.refusal = "its step file " + step_name + " would replace the input picture " + input->second;
            break;
        }
    }
}
