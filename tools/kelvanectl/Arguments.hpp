#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::ctl {

/// Wrong use of the command line; `what()` is the German message. Exit code 64.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// An option a subcommand accepts: a switch, or one that takes a value from a fixed list (or
/// any value when the list is empty).
struct OptionDefinition {
    std::string_view name;
    bool takesValue = false;
    std::vector<std::string_view> allowedValues;
};

/// A subcommand's arguments after parsing.
class Arguments {
public:
    /// Options may stand anywhere; "--name value" and "--name=value" are both accepted and "--"
    /// ends the options. Throws `UsageError` for an unknown option, a missing or disallowed
    /// value, or a number of positional arguments other than `positionalCount`.
    static Arguments parse(const std::vector<std::string>& arguments,
                           const std::vector<OptionDefinition>& definitions,
                           std::size_t positionalCount);

    bool has(std::string_view option) const;
    std::optional<std::string> value(std::string_view option) const;
    const std::string& positional(std::size_t index) const { return m_positionals.at(index); }

private:
    std::map<std::string, std::string, std::less<>> m_options;
    std::vector<std::string> m_positionals;
};

} // namespace kelvane::ctl
