#ifndef TAVRO_TESTS_FUZZ_FUZZKIT_H
#define TAVRO_TESTS_FUZZ_FUZZKIT_H

#include <cstddef>
#include <cstdint>

// One reader or decoder under the fuzzer. Each file under targets/ defines FUZZ_TARGET; the kit
// turns it into libFuzzer's entry point (and, with ReplayMain, into a program that replays files).
struct FuzzTarget {
	// Where every input is written, relative to the scratch folder, for the reader to open.
	const char *file;
	// The target draws or loads textures: an offscreen window and PLIB are set up once.
	bool window;
	// Runs once in the scratch folder, before the first input; may be null.
	void (*prepare)();
	// The game's own entry point on the file (data and size are its bytes, to pick variants by);
	// fails only through FuzzCheck or the sanitizers.
	void (*load)(const char *file, const uint8_t *data, size_t size);
};

extern const FuzzTarget FUZZ_TARGET;

// Fails the run with a message when a property every result of the reader must keep is broken.
void FuzzCheck(bool holds, const char *what);

extern "C" {
int LLVMFuzzerInitialize(int *argc, char ***argv);
int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
}

#endif
