#include "net/NetReader.h"

#include <cmath>
#include <cstring>

bool NetReader::Take(size_t count) {
	if (fault != FAULT_NONE) {
		return false;
	}
	if (count > size - at) {
		fault = FAULT_SHORT;
		return false;
	}
	return true;
}

void NetReader::Fail(Fault why) {
	if (fault == FAULT_NONE) {
		fault = why;
	}
}

uint32_t NetReader::U8() {
	return Take(1) ? data[at++] : 0;
}

uint32_t NetReader::U16() {
	if (!Take(2)) {
		return 0;
	}
	uint32_t value = data[at] | (static_cast<uint32_t>(data[at + 1]) << 8);
	at += 2;
	return value;
}

uint32_t NetReader::U32() {
	if (!Take(4)) {
		return 0;
	}
	uint32_t value = 0;
	for (int i = 3; i >= 0; i--) {
		value = (value << 8) | data[at + i];
	}
	at += 4;
	return value;
}

int NetReader::Int8(int low, int high) {
	const int value = static_cast<int8_t>(static_cast<uint8_t>(U8()));
	if (value < low || value > high) {
		Fail(FAULT_RANGE);
		return 0;
	}
	return Failed() ? 0 : value;
}

uint32_t NetReader::InRange(uint32_t value, uint32_t low, uint32_t high) {
	if (!Failed() && (value < low || value > high)) {
		Fail(FAULT_RANGE);
	}
	return Failed() ? 0 : value;
}

int NetReader::U8In(int low, int high) {
	return static_cast<int>(InRange(U8(), static_cast<uint32_t>(low), static_cast<uint32_t>(high)));
}

uint32_t NetReader::U16In(uint32_t low, uint32_t high) {
	return InRange(U16(), low, high);
}

uint32_t NetReader::U32In(uint32_t low, uint32_t high) {
	return InRange(U32(), low, high);
}

float NetReader::F32(float limit) {
	const uint32_t bits = U32();
	float value;
	memcpy(&value, &bits, sizeof(value));
	if (Failed()) {
		return 0.0f;
	}
	if (!std::isfinite(value)) {
		Fail(FAULT_NOT_FINITE);
		return 0.0f;
	}
	if (std::fabs(value) > limit) {
		Fail(FAULT_RANGE);
		return 0.0f;
	}
	return value;
}

void NetReader::Text(char *out, size_t limit, size_t minimum) {
	out[0] = '\0';
	const size_t length = U8();
	if (Failed()) {
		return;
	}
	if (length >= limit || length < minimum) {
		Fail(FAULT_TEXT);
		return;
	}
	if (!Take(length)) {
		return;
	}
	for (size_t i = 0; i < length; i++) {
		if (data[at + i] < 0x20 || data[at + i] > 0x7E) {
			Fail(FAULT_TEXT);
			return;
		}
	}
	memcpy(out, data + at, length);
	out[length] = '\0';
	at += length;
}
