// The write-only floor: writes a file's bytes, already in memory, to another file, the way the
// tool writes its sheet (256 KiB writes on an unbuffered stream), and prints the seconds the
// writing and the close took. No program that has to produce those bytes can write them faster.
//
// usage: write_floor SOURCE DESTINATION
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_floor SOURCE DESTINATION\n");
        return 2;
    }
    std::FILE *source = std::fopen(argv[1], "rb");
    if (source == nullptr)
        return 1;
    std::vector<char> bytes;
    char chunk[1 << 16];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, source)) > 0;)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(source);

    const std::size_t WRITE_SIZE = std::size_t{256} * 1024;
    auto start = std::chrono::steady_clock::now();
    std::FILE *destination = std::fopen(argv[2], "wb");
    if (destination == nullptr)
        return 1;
    std::setvbuf(destination, nullptr, _IONBF, 0);
    for (std::size_t at = 0; at < bytes.size(); at += WRITE_SIZE) {
        std::size_t count = bytes.size() - at < WRITE_SIZE ? bytes.size() - at : WRITE_SIZE;
        if (std::fwrite(bytes.data() + at, 1, count, destination) != count)
            return 1;
    }
    if (std::fclose(destination) != 0)
        return 1;
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.6f\n", took.count());
    return 0;
}
