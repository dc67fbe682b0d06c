#pragma once

#include <cstdint>

// Numbers as the Windows and 3D Studio file formats store them, read byte by byte so neither the
// machine's byte order nor the buffer's alignment matters.
inline uint16_t ReadLittle16(const unsigned char *at) {
	return static_cast<uint16_t>(at[0] | at[1] << 8);
}

inline uint32_t ReadLittle32(const unsigned char *at) {
	return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
		   static_cast<uint32_t>(at[3]) << 24;
}
