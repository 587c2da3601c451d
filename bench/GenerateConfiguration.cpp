// Writes a generated version 2 configuration and its command titles, one per line, for
// comparing whole-process search times with other tools.
#include "ConfigurationFixtures.hpp"

#include <charconv>
#include <fstream>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    std::size_t commands = 0;
    std::size_t groups = 0;
    if (argc != 5 ||
        std::from_chars(argv[1], argv[1] + std::string_view(argv[1]).size(), commands).ec !=
            std::errc() ||
        std::from_chars(argv[2], argv[2] + std::string_view(argv[2]).size(), groups).ec !=
            std::errc() ||
        groups == 0) {
        std::cerr << "Aufruf: kelvane_generate_configuration BEFEHLE GRUPPEN DATEI.json "
                     "TITEL.txt\n";
        return 64;
    }
    const kelvane::Configuration configuration =
        kelvane::bench::makeConfiguration(commands, groups);
    std::ofstream(argv[3], std::ios::binary) << kelvane::bench::makeV2Text(commands, groups);
    std::ofstream titles(argv[4], std::ios::binary);
    for (const kelvane::CommandEntry& entry : configuration.allCommands())
        titles << entry.command.title << '\n';
    return 0;
}
