#include "Kelvane/platform/FreedMemory.hpp"

#include <malloc/malloc.h>

namespace kelvane {

void returnFreedMemoryToSystem() {
    malloc_zone_pressure_relief(nullptr, 0);
}

} // namespace kelvane
