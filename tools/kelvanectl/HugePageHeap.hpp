#pragma once

namespace kelvane::ctl {

/// Lets the heap grow in large steps backed by huge pages, where the C library and the kernel
/// allow it (glibc on Linux with transparent huge pages on request); elsewhere does nothing.
///
/// kelvanectl loads a whole configuration for one command and ends. On a file of 100,000
/// entries that is some 80 MB of fresh memory, and page faults for it, one per 4 KiB, took most
/// of the run; one fault per 2 MiB page takes a few. The heap keeps its pages until the process
/// ends. Call first thing in `main`, before any thread starts.
void useHugePagesForHeap();

} // namespace kelvane::ctl
