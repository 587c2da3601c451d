#include "Kelvane/platform/FreedMemory.hpp"

#include <malloc.h>

namespace kelvane {

void returnFreedMemoryToSystem() {
    malloc_trim(0);
}

} // namespace kelvane
