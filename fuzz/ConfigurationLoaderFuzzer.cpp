#include "KelvaneCore/Configuration/ConfigurationError.hpp"
#include "KelvaneCore/Configuration/ConfigurationLoader.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace kelvane;

// Any bytes either load or fail with a ConfigurationError; what loads is checked further by the
// round-trip fuzzer.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const SortMode mode = size % 2 == 0 ? SortMode::alphabetical : SortMode::fileOrder;
    const ConfigurationLoader loader{mode, mode};
    try {
        loader.load(input);
    } catch (const ConfigurationError&) {
    }
    return 0;
}
