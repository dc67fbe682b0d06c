// Network messages as the session reads them off the wire: one message, then the bytes as a
// stream of length-prefixed messages through one decoder and the joiner's interpolator (the
// entry point the codec's tests share).
#include "FuzzKit.h"
#include "NetFuzz.h"

namespace {

void Load(const char *, const uint8_t *data, size_t size) {
	NetFuzzOne(data, size);
}

} // namespace

const FuzzTarget FUZZ_TARGET = {"fuzz.msg", false, nullptr, Load};
