// Writes a generated version 2 configuration and its command titles, one per line, for
// comparing whole-process search times with other tools.
#include "ConfigurationFixtures.hpp"

#include "KelvaneCore/Configuration/ConfigMigrator.hpp"

#include <charconv>
#include <fstream>
#include <iostream>
#include <string_view>

namespace {

bool parseCount(std::string_view text, std::size_t& count) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    return error == std::errc() && end == text.data() + text.size() && count > 0;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t commands = 0;
    std::size_t groupSize = 0;
    if (argc != 5 || !parseCount(argv[1], commands) || !parseCount(argv[2], groupSize)) {
        std::cerr << "Aufruf: kelvane_generate_configuration BEFEHLE BEFEHLE_JE_GRUPPE DATEI.json "
                     "TITEL.txt\n";
        return 64;
    }
    const kelvane::Configuration configuration =
        kelvane::bench::makeEverydayConfiguration(commands, groupSize);
    std::ofstream(argv[3], std::ios::binary) << kelvane::ConfigMigrator::makeV2JSON(configuration);
    std::ofstream titles(argv[4], std::ios::binary);
    for (const kelvane::CommandEntry& entry : configuration.allCommands())
        titles << entry.command.title << '\n';
    return 0;
}
