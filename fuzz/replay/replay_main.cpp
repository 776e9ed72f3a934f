// Runs a fuzz target's checks once on every file under the folders it is given. Built with the
// game's 32-bit Windows compiler, it puts the inputs the native fuzzers found, and the crafted
// ones, through the readers as the shipped tools and the plug-in run them: with a 32-bit size_t.
#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
#ifdef REPLAY_INITIALIZE
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
#endif

namespace fs = std::filesystem;

namespace {

std::string current = "(none)"; // the input being run, for the report of a failed check or a crash

extern "C" void onFault(int signal) {
    std::fprintf(stderr, "replay: %s on the input %s\n",
                 signal == SIGSEGV ? "access violation" : "failed check", current.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: replay FOLDER...\n", stderr);
        return 2;
    }
    std::signal(SIGABRT, onFault);
    std::signal(SIGSEGV, onFault);
#ifdef REPLAY_INITIALIZE
    LLVMFuzzerInitialize(&argc, &argv);
#endif
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        std::error_code failure;
        for (fs::recursive_directory_iterator it(argv[i], failure), end; !failure && it != end;
             it.increment(failure))
            if (it->is_regular_file(failure)) inputs.push_back(it->path());
        if (failure) {
            std::fprintf(stderr, "replay: cannot read the folder %s\n", argv[i]);
            return 1;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    std::size_t largest = 0, gone = 0;
    for (const auto& input : inputs) {
        current = input.string();
        std::ifstream file(input, std::ios::binary | std::ios::ate);
        // A fuzzer at work on the same corpus replaces inputs with smaller ones.
        if (!file && !fs::exists(input)) {
            ++gone;
            continue;
        }
        std::vector<char> bytes(file ? static_cast<std::size_t>(file.tellg()) : 0);
        file.seekg(0);
        if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
            std::fprintf(stderr, "replay: cannot read %s\n", current.c_str());
            return 1;
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        largest = std::max(largest, bytes.size());
    }
    std::printf("%zu inputs replayed, the largest %zu bytes; %zu gone since listed\n",
                inputs.size() - gone, largest, gone);
    return inputs.size() == gone ? 1 : 0;
}
