#ifndef TAVRO_NET_NETREADER_H
#define TAVRO_NET_NETREADER_H

#include <cstddef>
#include <cstdint>

// Reads what NetWriter wrote from a received buffer, never past its end. A read beyond the end,
// a number out of its range, a float that is not finite or a text with other than printable
// ASCII marks the reader failed with the first such fault; reads after that give 0.
class NetReader {
public:
	enum Fault {
		FAULT_NONE = 0,
		FAULT_SHORT, // the data ended first
		FAULT_RANGE, // a number outside its range
		FAULT_NOT_FINITE,
		FAULT_TEXT // a text too long or with a character that is not printable
	};

	NetReader(const uint8_t *buffer, size_t length) : data(buffer), size(length), at(0), fault(FAULT_NONE) {}

	uint32_t U8();
	uint32_t U16();
	uint32_t U32();
	// An integer of low to high, else a range fault.
	int Int8(int low, int high);
	int U8In(int low, int high); // low of 0 or more
	uint32_t U16In(uint32_t low, uint32_t high);
	uint32_t U32In(uint32_t low, uint32_t high);
	// A finite float of -limit to limit.
	float F32(float limit);
	// A text of at most limit - 1 characters (and at least minimum) into out, terminated.
	void Text(char *out, size_t limit, size_t minimum);
	// Marks a fault the caller found (a value that only makes sense with another).
	void Fail(Fault why);

	size_t Remaining() const { return size - at; }
	bool Failed() const { return fault != FAULT_NONE; }
	Fault GetFault() const { return fault; }

private:
	bool Take(size_t count);
	uint32_t InRange(uint32_t value, uint32_t low, uint32_t high);

	const uint8_t *data;
	size_t size; // bytes
	size_t at;   // bytes read
	Fault fault; // the first
};

#endif
