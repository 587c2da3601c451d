#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include "KelvaneCore/Configuration/Overloaded.hpp"

namespace kelvane {

ConfigurationError::ConfigurationError(Case errorCase)
    : m_case(std::move(errorCase)), m_description(errorDescription()) {}

std::string ConfigurationError::errorDescription() const {
    return std::visit(Overloaded{
                          [](const InvalidJSON& error) {
                              if (!error.location)
                                  return error.message;
                              return "Zeile " + std::to_string(error.location->line) + ", Spalte " +
                                     std::to_string(error.location->column) + ": " + error.message;
                          },
                          [](const UnexpectedStructure& error) {
                              return "Unerwarteter Aufbau der Konfiguration: " + error.detail;
                          },
                          [](const Unreadable& error) {
                              return germanQuoted(error.path) +
                                     " konnte nicht gelesen werden: " + error.underlying;
                          },
                          [](const OutOfMemory&) {
                              return std::string("Nicht genug Arbeitsspeicher, um die "
                                                 "Konfiguration zu laden.");
                          },
                      },
                      m_case);
}

} // namespace kelvane
