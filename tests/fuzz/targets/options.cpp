// "options.dat" as start-up reads and checks it, then saved and read back as the options screen
// saves it: whatever the file held, the record that comes out is valid and survives the trip.
#include <cstring>

#include "FuzzKit.h"
#include "options/OptionsFile.h"
#include "options/OptionsRecord.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	OptionsRecord options;
	memset(&options, 0, sizeof(options)); // as the process-wide record starts
	OptionsFile optionsFile;
	optionsFile.Load(options, file);
	OptionsRecord checked = options;
	FuzzCheck(checked.Validate() == 0, "a validated record is valid");
	FuzzCheck(optionsFile.Save(options, file), "the record is saved");
	OptionsRecord again;
	again.SetDefaults();
	FuzzCheck(again.Read(file) && memcmp(&again, &options, sizeof(options)) == 0, "the record reads back as saved");
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"options.dat", false, nullptr, Load};
