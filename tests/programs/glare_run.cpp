#include "glare_run.h"

#include <charconv>
#include <regex>

namespace {

double number_of(const std::string& text) {
    double value = -1;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

GlareResult run_glare(const TempFolder& folder, const std::string& arguments) {
    GlareResult result;
    result.run = run_in(folder, "evalglare " + arguments);
    static const std::regex line(
        R"((?:^|\n)dgp,dgi,ugr,vcp,cgi,Lveil: (-?\d+\.\d{6}) (-?\d+\.\d{6}) (-?\d+\.\d{6}) (-?\d+\.\d{6}) )"
        R"((-?\d+\.\d{6}) (-?\d+\.\d{6})  \n$)");
    std::smatch m;
    if (!std::regex_search(result.run.out, m, line)) return result;
    result.printed = true;
    double* out[] = {&result.dgp, &result.dgi, &result.ugr, &result.vcp, &result.cgi, &result.veil};
    for (int k = 0; k < 6; ++k) *out[k] = number_of(m[k + 1].str());
    return result;
}

double run_glare_illuminance(const TempFolder& folder, const std::string& arguments) {
    const auto run = run_in(folder, "evalglare -V " + arguments);
    if (run.status != 0 || run.out.empty()) return -1;
    return number_of(run.out);
}
