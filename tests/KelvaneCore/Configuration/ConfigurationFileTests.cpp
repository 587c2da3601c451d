#include "KelvaneCore/Configuration/ConfigurationFile.hpp"

#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"
#include "support/TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;

std::string problemText(const std::variant<Configuration, ConfigurationProblem>& result) {
    if (const auto* problem = std::get_if<ConfigurationProblem>(&result))
        return problem->message();
    return "(loaded)";
}

// A good file is read in the preferred order: see the configuration store's tests.
TEST(ConfigurationFile, checksExistenceAndTrustBeforeReading) {
    const test::TemporaryFolder folder;
    const uint32_t user = ::getuid();
    const fs::path missing = folder / "missing.json";
    EXPECT_EQ(problemText(ConfigurationFile::load(missing, SortMode::alphabetical, user)),
              "Konfigurationsdatei nicht gefunden: " + missing.string());

    // Not valid JSON either, but an untrusted file is never read, so trust is what is reported.
    const fs::path shared = folder.write("shared.json", "not json", fs::perms(0662));
    EXPECT_EQ(problemText(ConfigurationFile::load(shared, SortMode::alphabetical, user)),
              "\u201E" + shared.string() + "\u201C ist f\u00FCr die Gruppe beschreibbar.");

    const fs::path broken = folder.write("broken.json", "{\n  x\n}");
    EXPECT_EQ(problemText(ConfigurationFile::load(broken, SortMode::alphabetical, user)),
              "Zeile 2, Spalte 3: Hier wird ein Schl\u00FCssel in Anf\u00FChrungszeichen "
              "erwartet.");
    fs::create_directory(folder / "folder.json");
    EXPECT_EQ(
        problemText(ConfigurationFile::load(folder / "folder.json", SortMode::alphabetical, user)),
        "\u201E" + (folder / "folder.json").string() +
            "\u201C konnte nicht gelesen werden: Ist ein Verzeichnis");
    const fs::path huge = folder.write("huge.json", "");
    fs::resize_file(huge, std::uintmax_t{100} << 30);
    EXPECT_NE(problemText(ConfigurationFile::load(huge, SortMode::alphabetical, user))
                  .find("konnte nicht gelesen werden: Die Datei ist zu gro\u00DF"),
              std::string::npos);
    EXPECT_THROW(ConfigurationLoader{}.loadContentsOf(huge), ConfigurationError);
}

TEST(ConfigurationProblem, untrustedWithoutIssuesHasAGenericMessage) {
    EXPECT_EQ(ConfigurationProblem{ConfigurationProblem::Untrusted{}}.message(),
              "Konfiguration nicht vertrauensw\u00FCrdig");
}

} // namespace
} // namespace kelvane
