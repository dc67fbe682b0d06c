#include "net/NetAddress.h"

#include <arpa/inet.h>
#include <enet/enet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <cctype>
#include <cstdio>
#include <cstring>

NetAddress::NetAddress() : name(), text(), port(0) {}

bool NetAddress::Parse(const char *input, int defaultPort) {
	name[0] = text[0] = '\0';
	port = 0;
	if (!input) {
		return false;
	}
	while (*input == ' ') {
		input++;
	}
	size_t length = strlen(input);
	while (length > 0 && input[length - 1] == ' ') {
		length--;
	}
	const char *colon = static_cast<const char *>(memchr(input, ':', length));
	const size_t nameLength = colon ? static_cast<size_t>(colon - input) : length;
	if (nameLength == 0 || nameLength >= static_cast<size_t>(NAME_SIZE)) {
		return false;
	}
	for (size_t i = 0; i < nameLength; i++) {
		const unsigned char c = static_cast<unsigned char>(input[i]);
		if (!isalnum(c) && c != '.' && c != '-' && c != '_') {
			return false; // IPv6 and anything else ENet cannot reach
		}
	}
	int value = defaultPort;
	if (colon) {
		const size_t digits = length - nameLength - 1;
		if (digits == 0 || digits > 5) {
			return false;
		}
		value = 0;
		for (size_t i = 0; i < digits; i++) {
			if (!isdigit(static_cast<unsigned char>(colon[1 + i]))) {
				return false;
			}
			value = value * 10 + (colon[1 + i] - '0');
		}
	}
	if (value < 1 || value > 65535) {
		return false;
	}
	memcpy(name, input, nameLength);
	name[nameLength] = '\0';
	port = value;
	snprintf(text, sizeof(text), "%s:%d", name, port);
	return true;
}

bool NetAddress::Resolve(NetEndpoint &out) const {
	if (!name[0]) {
		return false;
	}
	ENetAddress address = {};
	struct in_addr numeric;
	if (inet_pton(AF_INET, name, &numeric) == 1) {
		address.host = numeric.s_addr;
	} else if (enet_address_set_host(&address, name) != 0) {
		return false;
	}
	out.host = address.host;
	out.port = static_cast<uint16_t>(port);
	return true;
}

void NetAddress::Format(const NetEndpoint &endpoint, char *out, size_t size) {
	char ip[INET_ADDRSTRLEN] = "?";
	struct in_addr in;
	in.s_addr = endpoint.host;
	inet_ntop(AF_INET, &in, ip, sizeof(ip));
	snprintf(out, size, "%s:%u", ip, static_cast<unsigned>(endpoint.port));
}

void NetAddress::LocalAddresses(char *out, size_t size) {
	out[0] = '\0';
	struct ifaddrs *list = nullptr;
	if (getifaddrs(&list) == 0) {
		size_t used = 0;
		for (struct ifaddrs *entry = list; entry; entry = entry->ifa_next) {
			if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) {
				continue;
			}
			const struct in_addr in = reinterpret_cast<const struct sockaddr_in *>(entry->ifa_addr)->sin_addr;
			if ((ntohl(in.s_addr) >> 24) == 127) {
				continue;
			}
			char ip[INET_ADDRSTRLEN];
			inet_ntop(AF_INET, &in, ip, sizeof(ip));
			const int wrote = snprintf(out + used, size - used, "%s%s", used ? ", " : "", ip);
			if (wrote < 0 || static_cast<size_t>(wrote) >= size - used) {
				out[used] = '\0'; // no address cut short
				break;
			}
			used += static_cast<size_t>(wrote);
		}
		freeifaddrs(list);
	}
	if (!out[0]) {
		snprintf(out, size, "127.0.0.1");
	}
}
