#include "support/fake_program.h"

#include "support/temp_folder.h"

void write_fake_program(const std::filesystem::path& folder, const std::string& name, const std::string& body) {
    const auto path = folder / name;
    write_file(path, "#!/bin/sh\n" + body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                           std::filesystem::perms::group_exec);
}
