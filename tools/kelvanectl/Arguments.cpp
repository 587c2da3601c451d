#include "Arguments.hpp"
#include "KelvaneCore/Text/GermanQuotes.hpp"

#include <algorithm>

namespace kelvane::ctl {
namespace {

const OptionDefinition& definitionOf(std::string_view name,
                                     const std::vector<OptionDefinition>& definitions) {
    const auto definition =
        std::find_if(definitions.begin(), definitions.end(),
                     [&](const OptionDefinition& candidate) { return candidate.name == name; });
    if (definition == definitions.end())
        throw UsageError("Unbekannte Option " + germanQuoted(name) + ".");
    return *definition;
}

void checkValue(const OptionDefinition& definition, std::string_view value) {
    if (definition.allowedValues.empty() ||
        std::find(definition.allowedValues.begin(), definition.allowedValues.end(), value) !=
            definition.allowedValues.end())
        return;
    std::string allowed;
    for (std::string_view candidate : definition.allowedValues)
        allowed += (allowed.empty() ? "" : ", ") + std::string(candidate);
    throw UsageError("Ung\u00FCltiger Wert " + germanQuoted(value) + " f\u00FCr " +
                     germanQuoted(definition.name) + " \u2014 erlaubt: " + allowed + ".");
}

} // namespace

Arguments Arguments::parse(const std::vector<std::string>& arguments,
                           const std::vector<OptionDefinition>& definitions,
                           std::size_t positionalCount) {
    Arguments result;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !argument.starts_with("--")) {
            result.m_positionals.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const OptionDefinition& definition = definitionOf(name, definitions);
        std::string value;
        if (equals != std::string::npos) {
            if (!definition.takesValue)
                throw UsageError("Die Option " + germanQuoted(name) + " nimmt keinen Wert.");
            value = argument.substr(equals + 1);
        } else if (definition.takesValue) {
            if (i + 1 >= arguments.size())
                throw UsageError("Der Option " + germanQuoted(name) + " fehlt ihr Wert.");
            value = arguments[++i];
        }
        checkValue(definition, value);
        result.m_options[name] = value;
    }
    if (result.m_positionals.size() != positionalCount)
        throw UsageError("Erwartet " + std::to_string(positionalCount) + " Argument(e), erhalten " +
                         std::to_string(result.m_positionals.size()) + ".");
    return result;
}

bool Arguments::has(std::string_view option) const {
    return m_options.contains(option);
}

std::optional<std::string> Arguments::value(std::string_view option) const {
    const auto found = m_options.find(option);
    if (found == m_options.end())
        return std::nullopt;
    return found->second;
}

} // namespace kelvane::ctl
