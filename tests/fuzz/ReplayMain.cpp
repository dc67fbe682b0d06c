// Replays inputs through a fuzz target without libFuzzer: each file named and each file in each
// folder named (a missing folder holds none). CTest runs it on a target's regression inputs and
// seeds, so every build checks them, with or without the sanitizers.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzKit.h"

namespace fs = std::filesystem;

int main(int argc, char **argv) {
	std::vector<fs::path> inputs;
	for (int i = 1; i < argc; i++) {
		const fs::path path = fs::absolute(argv[i]); // the kit moves to its scratch folder
		if (fs::is_directory(path)) {
			for (const fs::directory_entry &entry : fs::directory_iterator(path)) {
				if (entry.is_regular_file()) {
					inputs.push_back(entry.path());
				}
			}
		} else if (fs::exists(path)) {
			inputs.push_back(path);
		}
	}
	std::sort(inputs.begin(), inputs.end());
	if (inputs.empty()) {
		fprintf(stderr, "replay: no inputs\n");
		return 1;
	}
	setenv("TAVRO_FUZZ_LOG", "/dev/stderr", 0); // the reader's log lines beside the file names
	LLVMFuzzerInitialize(&argc, &argv);
	for (const fs::path &input : inputs) {
		std::ifstream in(input, std::ios::binary);
		const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
		fprintf(stderr, "replay: %s\n", input.c_str());
		LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
	}
	printf("replay: %zu inputs, all clean\n", inputs.size());
	return 0;
}
