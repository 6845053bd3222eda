// Preloaded under the tool by the failure cases: every stream read fails once FAIL_READ_AT bytes
// of it have been read, as on a disk that goes bad part-way through the list. Linux only.
//
// The reads up to that byte succeed; then the stream's descriptor is swapped for a folder's, so
// the next read really fails and stdio sets the stream's error flag as for any failed read.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

using fread_function = std::size_t (*)(void *, std::size_t, std::size_t, std::FILE *);

fread_function real_fread()
{
    static fread_function real = nullptr;
    if (real == nullptr) {
        void *found = dlsym(RTLD_NEXT, "fread");
        static_assert(sizeof found == sizeof real, "a function pointer fits a data pointer");
        std::memcpy(&real, &found, sizeof real);
    }
    return real;
}

void break_stream(std::FILE *stream)
{
    // Drops what stdio read ahead, so the next read goes to the descriptor.
    (void)std::fseek(stream, 0, SEEK_CUR);
    int folder = open("/", O_RDONLY | O_DIRECTORY);
    (void)dup2(folder, fileno(stream));
    (void)close(folder);
}

} // namespace

extern "C" std::size_t fread(void *buffer, std::size_t size, std::size_t count, std::FILE *stream)
{
    const char *fail_at = std::getenv("FAIL_READ_AT");
    long position = std::ftell(stream);
    if (fail_at == nullptr || size != 1 || position < 0)
        return real_fread()(buffer, size, count, stream);
    auto at = static_cast<std::size_t>(std::atol(fail_at));
    auto from = static_cast<std::size_t>(position);
    if (from >= at) {
        break_stream(stream);
        return real_fread()(buffer, size, count, stream);
    }
    if (from + count <= at)
        return real_fread()(buffer, size, count, stream);
    std::size_t got = real_fread()(buffer, size, at - from, stream);
    break_stream(stream);
    return got;
}
