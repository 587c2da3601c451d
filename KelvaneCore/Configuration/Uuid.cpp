#include "KelvaneCore/Configuration/Uuid.hpp"

#include <cstring>
#include <random>

namespace kelvane {

Uuid Uuid::random() {
    // One generator per thread, seeded from the system's entropy source; loads create
    // thousands of ids, so the entropy source is asked only once.
    thread_local std::mt19937_64 generator{std::random_device{}()};
    const uint64_t high = generator();
    const uint64_t low = generator();
    Uuid uuid;
    std::memcpy(uuid.m_bytes.data(), &high, sizeof high);
    std::memcpy(uuid.m_bytes.data() + sizeof high, &low, sizeof low);
    uuid.m_bytes[6] = static_cast<uint8_t>((uuid.m_bytes[6] & 0x0F) | 0x40);
    uuid.m_bytes[8] = static_cast<uint8_t>((uuid.m_bytes[8] & 0x3F) | 0x80);
    return uuid;
}

std::string Uuid::toString() const {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            text.push_back('-');
        text.push_back(digits[m_bytes[i] >> 4]);
        text.push_back(digits[m_bytes[i] & 0x0F]);
    }
    return text;
}

} // namespace kelvane
