// "video.cfg" as start-up reads it and shut-down saves it: what was read reads back the same.
#include "FuzzKit.h"
#include "core/VideoConfig.h"

namespace {

void Load(const char *file, const uint8_t *, size_t) {
	VideoConfig config;
	FuzzCheck(config.Load(file), "the file opens");
	FuzzCheck(config.Save("saved.cfg"), "the configuration is saved");
	VideoConfig again;
	FuzzCheck(again.Load("saved.cfg") && again.Width() == config.Width() && again.Height() == config.Height() &&
				  again.BitsPerPixel() == config.BitsPerPixel() && again.Fullscreen() == config.Fullscreen(),
		"the configuration reads back as saved");
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"video.cfg", false, nullptr, Load};
