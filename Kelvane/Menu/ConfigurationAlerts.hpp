#pragma once

#include "Kelvane/Desktop/Dialogs.hpp"

#include "KelvaneCore/Configuration/ConfigurationFile.hpp"

#include <string>
#include <vector>

namespace kelvane {

/// The alerts the status menu shows about the configuration file and about the application.
/// The first button of the problem and warnings alerts acts on the file; the last closes.
namespace ConfigurationAlerts {

/// Why the file gave no configuration, with "In Editor öffnen", the button that shows the file in
/// the file manager, or "Befehl kopieren" as the first button, depending on the problem.
Alert problemAlert(const ConfigurationProblem& problem);

/// The repair commands of the issues that have one, one per line.
std::string fixCommands(const std::vector<ConfigTrustCheck::Issue>& issues);

/// The loader's warnings, at most 20 listed and the rest counted.
Alert warningsAlert(const std::vector<ConfigurationWarning>& warnings);

/// The application's name, version and copyright.
Alert aboutAlert();

} // namespace ConfigurationAlerts
} // namespace kelvane
