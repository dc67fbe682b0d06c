#ifndef TAVRO_TESTS_NETTESTKIT_H
#define TAVRO_TESTS_NETTESTKIT_H

#include <cstdint>
#include <vector>

#include "net/NetMessage.h"

// Messages of every type with values a match sends, for the codec and session tests.
NetMessage SampleMessage(int type);
// The message's bytes on the wire.
std::vector<uint8_t> Encoded(const NetMessage &message);

#endif
