#include "net/NetDatagramSocket.h"

#include <enet/enet.h>

#include "net/NetDecoder.h"
#include "net/NetMessage.h"

NetDatagramSocket::NetDatagramSocket() : socket(ENET_SOCKET_NULL), open(false) {}

NetDatagramSocket::~NetDatagramSocket() {
	Close();
}

bool NetDatagramSocket::Open(int port, bool broadcast) {
	Close();
	if (port < 0 || port > 65535) {
		return false;
	}
	socket = enet_socket_create(ENET_SOCKET_TYPE_DATAGRAM);
	if (socket == ENET_SOCKET_NULL) {
		return false;
	}
	open = true;
	ENetAddress address = {};
	address.host = ENET_HOST_ANY;
	address.port = static_cast<enet_uint16>(port);
	if (enet_socket_set_option(socket, ENET_SOCKOPT_NONBLOCK, 1) != 0 ||
		(broadcast && enet_socket_set_option(socket, ENET_SOCKOPT_BROADCAST, 1) != 0) ||
		enet_socket_bind(socket, &address) != 0) {
		Close();
		return false;
	}
	return true;
}

void NetDatagramSocket::Close() {
	if (open) {
		enet_socket_destroy(socket);
		socket = ENET_SOCKET_NULL;
		open = false;
	}
}

int NetDatagramSocket::GetPort() const {
	ENetAddress bound = {};
	if (!open || enet_socket_get_address(socket, &bound) != 0) {
		return 0;
	}
	return bound.port;
}

bool NetDatagramSocket::SendTo(const NetEndpoint &to, const uint8_t *bytes, size_t size) {
	if (!open) {
		return false;
	}
	ENetAddress address = {};
	address.host = to.host;
	address.port = to.port;
	ENetBuffer buffer;
	buffer.data = const_cast<uint8_t *>(bytes);
	buffer.dataLength = size;
	return enet_socket_send(socket, &address, &buffer, 1) == static_cast<int>(size);
}

int NetDatagramSocket::Receive(NetEndpoint &from, uint8_t *buffer, size_t capacity) {
	if (!open) {
		return 0;
	}
	ENetAddress address = {};
	ENetBuffer into;
	into.data = buffer;
	into.dataLength = capacity;
	const int result = enet_socket_receive(socket, &address, &into, 1);
	if (result < 0) {
		return -1; // ENet reports a datagram cut short as a failure too
	}
	from.host = address.host;
	from.port = address.port;
	return result;
}

int NetDatagramSocket::ReceiveMessage(NetDecoder &decoder, NetEndpoint &from, NetMessage &out) {
	uint8_t buffer[NET_MAX_MESSAGE + 1]; // one more: a longer datagram shows as too long
	const int size = Receive(from, buffer, sizeof(buffer));
	if (size <= 0) {
		return size;
	}
	return decoder.Decode(buffer, static_cast<size_t>(size), out) ? 1 : -1;
}
