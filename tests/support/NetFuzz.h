#ifndef TAVRO_TESTS_NETFUZZ_H
#define TAVRO_TESTS_NETFUZZ_H

#include <cstddef>
#include <cstdint>

// One fuzz input for the network message decoder, as libFuzzer's LLVMFuzzerTestOneInput takes
// it: the bytes are decoded as one message (a message read back is written again and must come
// out byte for byte), then as a stream of messages, each after a length byte, through one
// decoder and the joiner's snapshot interpolator. Aborts on a fault; returns 0.
int NetFuzzOne(const uint8_t *data, size_t size);

#endif
