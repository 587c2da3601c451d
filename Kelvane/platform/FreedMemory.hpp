#pragma once

namespace kelvane {

/// Hands the heap's free pages back to the system. The allocator keeps what a big menu and its
/// configuration used after they are gone, so without this a reload from a big file to a small
/// one would leave the process as large as the big file made it.
void returnFreedMemoryToSystem();

} // namespace kelvane
