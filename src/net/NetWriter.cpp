#include "net/NetWriter.h"

#include <cstring>

bool NetWriter::Room(size_t count) {
	if (failed || count > size - at) {
		failed = true;
		return false;
	}
	return true;
}

void NetWriter::U8(uint32_t value) {
	if (Room(1)) {
		data[at++] = static_cast<uint8_t>(value);
	}
}

void NetWriter::U16(uint32_t value) {
	if (Room(2)) {
		data[at++] = static_cast<uint8_t>(value);
		data[at++] = static_cast<uint8_t>(value >> 8);
	}
}

void NetWriter::U32(uint32_t value) {
	if (Room(4)) {
		for (int shift = 0; shift < 32; shift += 8) {
			data[at++] = static_cast<uint8_t>(value >> shift);
		}
	}
}

void NetWriter::F32(float value) {
	uint32_t bits;
	memcpy(&bits, &value, sizeof(bits));
	U32(bits);
}

void NetWriter::Text(const char *text, size_t limit) {
	const size_t length = strnlen(text, limit - 1);
	if (Room(1 + length)) {
		data[at++] = static_cast<uint8_t>(length);
		memcpy(data + at, text, length);
		at += length;
	}
}

void NetWriter::PatchU16(size_t offset, uint32_t value) {
	if (!failed && offset + 2 <= at) {
		data[offset] = static_cast<uint8_t>(value);
		data[offset + 1] = static_cast<uint8_t>(value >> 8);
	}
}
