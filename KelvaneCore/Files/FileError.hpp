#pragma once

#include <exception>
#include <string>

namespace kelvane {

/// A failed file operation, described in German for the user.
class FileError : public std::exception {
public:
    enum class Operation { read, write, remove };

    /// `reason` is the system's explanation in German (see `describeSystemError`).
    FileError(Operation operation, std::string path, std::string reason);

    Operation operation() const { return m_operation; }
    const std::string& path() const { return m_path; }
    const std::string& reason() const { return m_reason; }

    /// For example: „/Users/a/kelvane.json“ konnte nicht gelesen werden: Keine Berechtigung
    const char* what() const noexcept override { return m_description.c_str(); }

private:
    Operation m_operation;
    std::string m_path;
    std::string m_reason;
    std::string m_description;
};

/// The German text for an errno value.
std::string describeSystemError(int errorNumber);

} // namespace kelvane
