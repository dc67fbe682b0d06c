#include "net/NetTransport.h"

#include <enet/enet.h>

#include "core/LogFile.h"

NetTransport::NetTransport() : host(nullptr), held(nullptr), serviceFailed(false) {
	enet_initialize();
}

NetTransport::~NetTransport() {
	Close();
	enet_deinitialize();
}

bool NetTransport::Create(const NetEndpoint *bind, size_t peers) {
	Close();
	ENetAddress address = {};
	if (bind) {
		address.host = bind->host;
		address.port = bind->port;
	}
	host = enet_host_create(bind ? &address : nullptr, peers, CHANNEL_COUNT, 0, 0);
	if (!host) {
		return false;
	}
	// A checksum on every datagram: one damaged or cut short on the way is dropped by ENet.
	host->checksum = enet_crc32;
	host->maximumPacketSize = MAX_PACKET;
	host->maximumWaitingData = MAX_WAITING;
	serviceFailed = false;
	return true;
}

bool NetTransport::Listen(int port) {
	const NetEndpoint any = {ENET_HOST_ANY, static_cast<uint16_t>(port)};
	return port >= 0 && port <= 65535 && Create(&any, PEER_SLOTS);
}

int NetTransport::Connect(const NetEndpoint &endpoint) {
	if (!Create(nullptr, 1)) {
		return -1;
	}
	ENetAddress address = {};
	address.host = endpoint.host;
	address.port = endpoint.port;
	ENetPeer *peer = enet_host_connect(host, &address, CHANNEL_COUNT, 0);
	return peer ? static_cast<int>(peer - host->peers) : -1;
}

void NetTransport::Close() {
	DropHeld();
	if (host) {
		enet_host_destroy(host);
		host = nullptr;
	}
}

void NetTransport::DropHeld() {
	if (held) {
		enet_packet_destroy(held);
		held = nullptr;
	}
}

bool NetTransport::Poll(NetTransportEvent &out) {
	DropHeld();
	out = NetTransportEvent();
	if (!host) {
		return false;
	}
	ENetEvent event;
	int result = -1;
	// A datagram too long to read whole fails the service and is dropped; the next try reads
	// the ones after it.
	for (int i = 0; i < SERVICE_TRIES && result < 0; i++) {
		result = enet_host_service(host, &event, 0);
		if (result < 0 && !serviceFailed) {
			Log(LOG_WARNING, "NET: A datagram at port %d could not be read; it was dropped", GetPort());
			serviceFailed = true;
		}
	}
	if (result <= 0) {
		return false;
	}
	out.peer = static_cast<int>(event.peer - host->peers);
	out.data = event.data;
	switch (event.type) {
	case ENET_EVENT_TYPE_CONNECT:
		// ENet's throttle drops unreliable packets when the trips' times vary, which loses
		// snapshots and aims at a few kilobytes a second: it is kept fully open.
		enet_peer_throttle_configure(
			event.peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, ENET_PEER_PACKET_THROTTLE_SCALE, 0);
		out.kind = NetTransportEvent::CONNECTED;
		break;
	case ENET_EVENT_TYPE_DISCONNECT: out.kind = NetTransportEvent::DISCONNECTED; break;
	case ENET_EVENT_TYPE_RECEIVE:
		out.kind = NetTransportEvent::RECEIVED;
		held = event.packet;
		out.bytes = held->data;
		out.size = held->dataLength;
		break;
	default: return false;
	}
	return true;
}

bool NetTransport::Send(int peer, const uint8_t *bytes, size_t size, bool reliable) {
	if (!IsConnected(peer)) {
		return false;
	}
	ENetPacket *packet = enet_packet_create(bytes, size, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
	if (!packet) {
		return false;
	}
	const enet_uint8 channel = reliable ? CHANNEL_RELIABLE : CHANNEL_SEQUENCED;
	if (enet_peer_send(&host->peers[peer], channel, packet) != 0) {
		enet_packet_destroy(packet);
		return false;
	}
	return true;
}

void NetTransport::Flush() {
	if (host) {
		enet_host_flush(host);
	}
}

void NetTransport::Disconnect(int peer, uint32_t hangup) {
	if (IsConnected(peer)) {
		enet_peer_disconnect_later(&host->peers[peer], hangup);
	}
}

void NetTransport::DisconnectNow(int peer, uint32_t hangup) {
	if (host && peer >= 0 && peer < static_cast<int>(host->peerCount) &&
		host->peers[peer].state != ENET_PEER_STATE_DISCONNECTED) {
		enet_host_flush(host); // what was queued for the peer goes first
		enet_peer_disconnect_now(&host->peers[peer], hangup);
	}
}

void NetTransport::Reset(int peer) {
	if (host && peer >= 0 && peer < static_cast<int>(host->peerCount)) {
		enet_peer_reset(&host->peers[peer]);
	}
}

void NetTransport::SetTimeout(int peer, uint32_t ms) {
	if (host && peer >= 0 && peer < static_cast<int>(host->peerCount)) {
		enet_peer_timeout(&host->peers[peer], 0, ms, ms);
	}
}

bool NetTransport::IsConnected(int peer) const {
	return host && peer >= 0 && peer < static_cast<int>(host->peerCount) &&
		   host->peers[peer].state == ENET_PEER_STATE_CONNECTED;
}

bool NetTransport::IsIdle(int peer) const {
	return !host || peer < 0 || peer >= static_cast<int>(host->peerCount) ||
		   host->peers[peer].state == ENET_PEER_STATE_DISCONNECTED;
}

int NetTransport::GetPort() const {
	if (!host) {
		return 0;
	}
	ENetAddress bound = {};
	if (enet_socket_get_address(host->socket, &bound) != 0) {
		return host->address.port;
	}
	return bound.port;
}

NetEndpoint NetTransport::GetPeerEndpoint(int peer) const {
	NetEndpoint endpoint = {0, 0};
	if (host && peer >= 0 && peer < static_cast<int>(host->peerCount)) {
		endpoint.host = host->peers[peer].address.host;
		endpoint.port = host->peers[peer].address.port;
	}
	return endpoint;
}

uint32_t NetTransport::GetBytesSent() const {
	return host ? host->totalSentData : 0;
}

uint32_t NetTransport::GetBytesReceived() const {
	return host ? host->totalReceivedData : 0;
}

uint32_t NetTransport::GetPacketsSent() const {
	return host ? host->totalSentPackets : 0;
}

uint32_t NetTransport::GetPacketsReceived() const {
	return host ? host->totalReceivedPackets : 0;
}
