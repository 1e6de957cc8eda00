// Chunks of whole pages that can be parked in a file, see ParkablePages.h.
#include "foundation/ParkablePages.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>
#include <unordered_map>

namespace {

struct Chunk {
    std::size_t bytes;  // whole pages
    bool filed;         // mapped from a parking file
};

std::unordered_map<void*, Chunk>& Chunks()
{
    static auto* chunks = new std::unordered_map<void*, Chunk>;  // never destroyed
    return *chunks;
}

std::size_t total = 0;

std::size_t WholePages(std::size_t bytes)
{
    static const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return (bytes + page - 1) / page * page;
}

// A file without a name in the directory, gone with its last mapping; -1
// when none can be made.
int OpenUnnamedFile(const std::string& directory)
{
    const std::string dir = directory.empty() ? "." : directory;
    int fd = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) return fd;
    // File systems without unnamed files: a named one, unlinked at once.
    std::string path = dir + "/.parked-XXXXXX";
    fd = mkostemp(path.data(), O_CLOEXEC);
    if (fd >= 0) unlink(path.c_str());
    return fd;
}

bool WriteAll(int fd, const void* from, std::size_t bytes, off_t offset)
{
    const auto* at = static_cast<const char*>(from);
    while (bytes > 0) {
        ssize_t written = pwrite(fd, at, bytes, offset);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        at += written;
        bytes -= static_cast<std::size_t>(written);
        offset += written;
    }
    return true;
}

// Puts the chunk's contents at `offset` of the file and the file's pages in
// the chunk's place. The file is mapped elsewhere first and moved over the
// chunk in one step, so that a failure leaves the chunk as it was.
bool FileChunk(int fd, void* at, std::size_t bytes, off_t offset)
{
    if (!WriteAll(fd, at, bytes, offset)) return false;
    void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, offset);
    if (mapped == MAP_FAILED) return false;
    if (mremap(mapped, bytes, bytes, MREMAP_MAYMOVE | MREMAP_FIXED, at) == MAP_FAILED) {
        munmap(mapped, bytes);
        return false;
    }
    return true;
}

}  // namespace

namespace ParkablePages {

void* Allocate(std::size_t bytes)
{
    bytes = WholePages(bytes == 0 ? 1 : bytes);
    for (;;) {
        void* at = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (at != MAP_FAILED) {
            Chunks().emplace(at, Chunk{bytes, false});
            total += bytes;
            return at;
        }
        // As operator new does: the out-of-memory report gets its say.
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void Free(void* chunk, std::size_t bytes)
{
    if (!chunk) return;
    bytes = WholePages(bytes == 0 ? 1 : bytes);
    Chunks().erase(chunk);
    total -= bytes;
    munmap(chunk, bytes);
}

std::size_t Bytes()
{
    return total;
}

std::size_t Park(const std::string& directory)
{
    std::size_t parked = 0;
    int fd = -1;
    bool fileFailed = false;
    off_t end = 0;
    for (auto& [at, chunk] : Chunks()) {
        if (chunk.filed) {
            // Changed pages stay in the page cache as the file's.
            if (madvise(at, chunk.bytes, MADV_DONTNEED) == 0) parked += chunk.bytes;
            continue;
        }
        if (fd < 0 && !fileFailed) {
            fd = OpenUnnamedFile(directory);
            fileFailed = fd < 0;
        }
        if (fd < 0) continue;
        if (!FileChunk(fd, at, chunk.bytes, end)) {
            // A full disk fails every later chunk too.
            close(fd);
            fd = -1;
            fileFailed = true;
            continue;
        }
        chunk.filed = true;
        end += static_cast<off_t>(chunk.bytes);
        parked += chunk.bytes;
    }
    // The mappings keep the file.
    if (fd >= 0) close(fd);
    return parked;
}

}  // namespace ParkablePages
