#include "SearchCache.hpp"

#include "KelvaneCore/Files/FileAccess.hpp"
#include "KelvaneCore/Safety/ConfigTrustCheck.hpp"
#include "KelvaneCore/Unicode/UnicodeText.hpp"

#include <cstdio>
#include <cstring>
#include <exception>

#if __has_include(<link.h>)
#include <elf.h>
#include <link.h>
#endif

namespace kelvane::ctl::SearchCache {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view magic = "Kelvane-Suchindex 2\n";

#if __has_include(<link.h>)

/// The GNU build ID among the notes of a loaded program, as raw bytes.
int findBuildId(dl_phdr_info* info, std::size_t, void* result) {
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        if (segment.p_type != PT_NOTE)
            continue;
        const char* note = reinterpret_cast<const char*>(info->dlpi_addr + segment.p_vaddr);
        const char* const end = note + segment.p_memsz;
        while (static_cast<std::size_t>(end - note) >= sizeof(ElfW(Nhdr))) {
            ElfW(Nhdr) header;
            std::memcpy(&header, note, sizeof header);
            const char* name = note + sizeof header;
            const char* description = name + ((header.n_namesz + 3) & ~3U);
            const std::size_t rest = static_cast<std::size_t>(end - description);
            if (description > end || ((header.n_descsz + 3) & ~3U) > rest)
                break;
            if (header.n_type == NT_GNU_BUILD_ID && header.n_namesz == 4 &&
                std::memcmp(name, "GNU", 4) == 0) {
                static_cast<std::string*>(result)->assign(description, header.n_descsz);
                return 1;
            }
            note = description + ((header.n_descsz + 3) & ~3U);
        }
    }
    // The program itself comes first; the libraries after it do not name it.
    return 1;
}

std::string readBuildIdentity() {
    std::string identity;
    ::dl_iterate_phdr(findBuildId, &identity);
    return identity;
}

#else

std::string readBuildIdentity() {
    return {};
}

#endif

/// What tells this build of the program from every other; empty when it cannot be told.
const std::string& buildIdentity() {
    static const std::string identity = readBuildIdentity();
    return identity;
}

/// A sum of the text's 8-byte words and of their running sums. Not a defence against anyone
/// (the cache file is trusted like the configuration file), but what a crash leaves of an
/// unflushed write, zeros or older bytes in place of some of the new ones, changes it.
std::uint64_t checksumOf(std::string_view text) {
    std::uint64_t sum = text.size();
    std::uint64_t sumOfSums = 0;
    for (; text.size() >= sizeof(std::uint64_t); text.remove_prefix(sizeof(std::uint64_t))) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data(), sizeof word);
        sum += word;
        sumOfSums += sum;
    }
    std::uint64_t last = 0;
    std::memcpy(&last, text.data(), text.size());
    sum += last;
    return sumOfSums + sum + (sum << 32 | sum >> 32);
}

std::uint64_t fnv1a(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    return hash;
}

template <typename Number> void append(std::string& out, Number number) {
    out.append(reinterpret_cast<const char*>(&number), sizeof number);
}

template <typename Length = std::uint32_t>
void appendText(std::string& out, std::string_view text) {
    append(out, static_cast<Length>(text.size()));
    out.append(text);
}

/// Reads what a `Store` wrote, every length checked against what is left.
class Reader {
public:
    explicit Reader(std::string_view bytes) : m_rest(bytes) {}

    template <typename Number> bool number(Number& value) {
        if (m_rest.size() < sizeof value)
            return false;
        std::memcpy(&value, m_rest.data(), sizeof value);
        m_rest.remove_prefix(sizeof value);
        return true;
    }

    bool bytes(std::size_t count, std::string_view& value) {
        if (m_rest.size() < count)
            return false;
        value = m_rest.substr(0, count);
        m_rest.remove_prefix(count);
        return true;
    }

    template <typename Length = std::uint32_t> bool rawText(std::string_view& value) {
        Length length = 0;
        return number(length) && bytes(length, value);
    }

    /// A text that must be well-formed UTF-8, as every title and command of a loaded file is.
    bool text(std::string_view& value) {
        return rawText(value) && !Unicode::firstInvalidUTF8Offset(value);
    }

    /// A count of entries that each take at least `entryBytes`, so that no count can make the
    /// reader reserve more than the file holds.
    bool count(std::size_t entryBytes, std::uint32_t& value) {
        return number(value) && value <= m_rest.size() / entryBytes;
    }

    bool atEnd() const { return m_rest.empty(); }
    std::string_view rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

std::string header(SortMode sortMode) {
    std::string out(magic);
    appendText(out, buildIdentity());
    appendText(out, Unicode::LocalizedCaseInsensitiveComparator::orderName());
    append(out, static_cast<std::uint8_t>(sortMode));
    return out;
}

/// What a cache file holds before its copy of the file's bytes.
std::string headOf(std::string_view fileBytes, SortMode sortMode) {
    std::string out = header(sortMode);
    append(out, static_cast<std::uint64_t>(fileBytes.size()));
    return out;
}

/// What a cache file holds after its copy of the file's bytes: the index and its checksum.
std::string tailOf(const CommandIndex& index) {
    // Reserved at once: growing several megabytes step by step costs more than filling them.
    std::size_t size = 2 * sizeof(std::uint32_t) + sizeof(std::uint64_t);
    for (const CommandIndex::Group& group : index.groups)
        size += 2 * sizeof(std::uint32_t) + group.title.size();
    for (const CommandIndex::Command& command : index.commands)
        size += 3 * sizeof(std::uint32_t) + command.title.size() + command.command.size();
    std::string out;
    out.reserve(size);
    append(out, static_cast<std::uint32_t>(index.groups.size()));
    for (const CommandIndex::Group& group : index.groups) {
        append(out, group.parent);
        appendText(out, group.title);
    }
    append(out, static_cast<std::uint32_t>(index.commands.size()));
    for (const CommandIndex::Command& command : index.commands) {
        append(out, command.group);
        appendText(out, command.title);
        appendText(out, command.command);
    }
    append(out, checksumOf(out));
    return out;
}

bool makeFolderForUserAlone(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!error)
        fs::permissions(folder, fs::perms::owner_all, error);
    return !error;
}

void writeCacheFile(const fs::path& cacheFile, const std::string& head, std::string_view fileBytes,
                    std::future<std::string> tail) {
    try {
        if (!makeFolderForUserAlone(cacheFile.parent_path()))
            return;
        FileAccess::Replacement replacement(cacheFile);
        replacement.write(head);
        replacement.write(fileBytes);
        // Throws when the search ends without an index, which leaves the cache file as it was.
        replacement.write(tail.get());
        // Not flushed: a file the next search can make again is not worth a wait for the disk,
        // and `decode` turns away whatever a crash leaves of it.
        replacement.commitUnflushed();
    } catch (const std::exception&) {
        // The next search loads the file again and tries once more.
    }
}

} // namespace

std::optional<fs::path> fileFor(const fs::path& cacheFolder, const fs::path& file,
                                SortMode sortMode) {
    if (buildIdentity().empty())
        return std::nullopt;
    std::error_code error;
    const fs::path absolute = fs::absolute(file, error);
    const std::uint64_t hash = fnv1a((error ? file : absolute).string());
    char name[32];
    std::snprintf(name, sizeof name, "suche-%016llx-%c.bin", static_cast<unsigned long long>(hash),
                  sortMode == SortMode::alphabetical ? 'a' : 'f');
    return cacheFolder / name;
}

std::optional<std::string> read(const fs::path& cacheFile, std::uint32_t currentUser) {
    ConfigTrustCheck::OpenedFile file = ConfigTrustCheck::openInspected(cacheFile, currentUser);
    if (!file.verdict.isTrusted() || !file.descriptor.isOpen())
        return std::nullopt;
    try {
        return FileAccess::readOpenFile(file.descriptor.get(), cacheFile);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<CommandIndex> decode(std::string_view stored, std::string_view fileBytes,
                                   SortMode sortMode) {
    Reader reader(stored);
    std::string_view storedHeader;
    std::string_view storedBytes;
    const std::string expectedHeader = header(sortMode);
    if (!reader.bytes(expectedHeader.size(), storedHeader) || storedHeader != expectedHeader ||
        !reader.rawText<std::uint64_t>(storedBytes) || storedBytes != fileBytes)
        return std::nullopt;
    std::string_view tail = reader.rest();
    std::uint64_t checksum = 0;
    if (tail.size() < sizeof checksum)
        return std::nullopt;
    std::memcpy(&checksum, tail.data() + tail.size() - sizeof checksum, sizeof checksum);
    tail.remove_suffix(sizeof checksum);
    if (checksumOf(tail) != checksum)
        return std::nullopt;

    reader = Reader(tail);
    CommandIndex index;
    std::uint32_t count = 0;
    if (!reader.count(2 * sizeof(std::uint32_t), count))
        return std::nullopt;
    index.groups.resize(count);
    for (CommandIndex::Group& group : index.groups)
        if (!reader.number(group.parent) || !reader.text(group.title))
            return std::nullopt;
    if (!reader.count(3 * sizeof(std::uint32_t), count))
        return std::nullopt;
    index.commands.resize(count);
    for (CommandIndex::Command& command : index.commands)
        if (!reader.number(command.group) || !reader.text(command.title) ||
            !reader.text(command.command))
            return std::nullopt;
    if (!reader.atEnd() || !index.isWellFormed())
        return std::nullopt;
    return index;
}

Store::Store(fs::path cacheFile, std::string_view fileBytes, SortMode sortMode)
    : m_thread(writeCacheFile, std::move(cacheFile), headOf(fileBytes, sortMode), fileBytes,
               m_index.get_future()) {}

Store::~Store() {
    // An index never handed over is given up, so that the thread leaves the cache file as it was.
    m_index = {};
    m_thread.join();
}

void Store::finish(const CommandIndex& index) {
    m_index.set_value(tailOf(index));
}

} // namespace kelvane::ctl::SearchCache
