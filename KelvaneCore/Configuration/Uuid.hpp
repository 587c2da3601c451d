#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kelvane {

/// A random (version 4) identifier of a menu entry; new on every load, never stored.
class Uuid {
public:
    /// A fresh random identifier.
    static Uuid random();

    /// Lower-case hexadecimal in the usual 8-4-4-4-12 grouping.
    std::string toString() const;

    bool operator==(const Uuid&) const = default;

private:
    std::array<uint8_t, 16> m_bytes{};
};

} // namespace kelvane
