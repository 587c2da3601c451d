#pragma once

#include <unistd.h>

#include <utility>

namespace kelvane {

/// Owns one open file descriptor and closes it exactly once.
class FileDescriptor {
public:
    FileDescriptor() = default;
    /// Takes over `fd`; a negative value means nothing is open.
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        FileDescriptor taken(std::move(other));
        std::swap(m_fd, taken.m_fd);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    /// Closes now and reports the result, which for a written file can carry a late write error.
    int close() { return ::close(std::exchange(m_fd, -1)); }

private:
    int m_fd = -1;
};

} // namespace kelvane
