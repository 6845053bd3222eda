// The write-only floor: writes a file's bytes, already in memory, to another file, the way the
// tool writes its sheet (256 KiB writes on an unbuffered stream), and prints the seconds the
// writing and the close took. No program that has to produce those bytes can write them faster.
//
// The source is mapped from the page cache rather than read into the heap: a heap the size of a
// large sheet would take the memory that the sheet's own pages are then written into, and on a
// virtual machine fresh memory is far slower to write than memory just given back.
//
// usage: write_floor SOURCE DESTINATION   (POSIX; the benchmark's helper, not part of the tool)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#ifndef MAP_POPULATE
#define MAP_POPULATE 0
#endif

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_floor SOURCE DESTINATION\n");
        return 2;
    }
    int source = open(argv[1], O_RDONLY);
    struct stat status;
    if (source < 0 || fstat(source, &status) != 0 || status.st_size == 0)
        return 1;
    auto size = static_cast<std::size_t>(status.st_size);
    // Populated now, so that no page fault is timed below.
    void *mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, source, 0);
    if (mapped == MAP_FAILED)
        return 1;
    const char *bytes = static_cast<const char *>(mapped);

    const std::size_t WRITE_SIZE = std::size_t{256} * 1024;
    auto start = std::chrono::steady_clock::now();
    std::FILE *destination = std::fopen(argv[2], "wb");
    if (destination == nullptr)
        return 1;
    std::setvbuf(destination, nullptr, _IONBF, 0);
    for (std::size_t at = 0; at < size; at += WRITE_SIZE) {
        std::size_t count = size - at < WRITE_SIZE ? size - at : WRITE_SIZE;
        if (std::fwrite(bytes + at, 1, count, destination) != count)
            return 1;
    }
    if (std::fclose(destination) != 0)
        return 1;
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", took.count());
    munmap(mapped, size);
    close(source);
    return 0;
}
