// Runs a fuzz target without libFuzzer: every file of the seed corpus, then a fixed number of
// inputs made from them by deterministic mutations (byte flips, cuts, splices, repeats).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

std::string Mutate(const std::string& seed, const std::string& other, std::mt19937& random) {
    std::string input = seed;
    static const char kInteresting[] = {',', '"', '\r', '\n', '|', '-', '0', '9', ' ', '\0'};
    int steps = 1 + int(random() % 6);
    for (int step = 0; step < steps; ++step) {
        size_t at = input.empty() ? 0 : random() % (input.size() + 1);
        switch (random() % 6) {
        case 0:
            if (!input.empty() && at < input.size())
                input[at] = char(random());
            break;
        case 1:
            input.insert(at, 1, kInteresting[random() % sizeof kInteresting]);
            break;
        case 2:
            input.erase(at, random() % 16);
            break;
        case 3:
            input.insert(at, other.substr(0, random() % (other.size() + 1)));
            break;
        case 4:
            input.insert(at, input.substr(at, random() % 64));
            break;
        default:
            input.resize(at);
            break;
        }
    }
    return input;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR RUNS\n", argv[0]);
        return 2;
    }
    std::vector<std::string> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        seeds.push_back(buffer.str());
    }
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 2;
    }
    for (const auto& seed : seeds)
        Run(seed);
    long runs = std::atol(argv[2]);
    std::mt19937 random(12345);
    for (long i = 0; i < runs; ++i)
        Run(Mutate(seeds[random() % seeds.size()], seeds[random() % seeds.size()], random));
    std::printf("%zu seeds and %ld mutated inputs ran\n", seeds.size(), runs);
    return 0;
}
