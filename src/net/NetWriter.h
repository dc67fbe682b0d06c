#ifndef TAVRO_NET_NETWRITER_H
#define TAVRO_NET_NETWRITER_H

#include <cstddef>
#include <cstdint>

// Writes little-endian numbers, floats and short texts into a buffer of the caller's, never past
// its end: a write that does not fit marks the writer failed and writes nothing.
class NetWriter {
public:
	NetWriter(uint8_t *buffer, size_t capacity) : data(buffer), size(capacity), at(0), failed(false) {}

	void U8(uint32_t value);
	void U16(uint32_t value);
	void U32(uint32_t value);
	void F32(float value);
	// A length byte, then the text's characters up to limit (terminator included) - 1.
	void Text(const char *text, size_t limit);
	// Writes a 16-bit value at an earlier offset (a length once the rest is known).
	void PatchU16(size_t offset, uint32_t value);

	size_t Written() const { return at; }
	bool Failed() const { return failed; }

private:
	bool Room(size_t count);

	uint8_t *data;
	size_t size; // bytes of the buffer
	size_t at;   // bytes written
	bool failed;
};

#endif
