#include "net/NetBrowser.h"

#include <enet/enet.h>

#include <cstring>

#include "core/Clock.h"
#include "net/NetEncoder.h"

namespace {

bool IsLoopback(uint32_t host) {
	return (ENET_NET_TO_HOST_32(host) >> 24) == 127;
}

} // namespace

NetBrowser::NetBrowser(Clock &clock_, int version)
	: clock(clock_), decoder(version), port(NET_DISCOVERY_PORT), broadcast(true), lastQuery(0), queried(false), hosts(),
	  count(0) {}

bool NetBrowser::Start(int port_, bool broadcast_) {
	Stop();
	port = port_;
	broadcast = broadcast_;
	return socket.Open(0, broadcast);
}

void NetBrowser::Stop() {
	socket.Close();
	count = 0;
	queried = false;
}

void NetBrowser::Query() {
	NetMessage message(NET_MSG_QUERY);
	message.version = static_cast<uint8_t>(decoder.GetVersion());
	uint8_t bytes[NET_MAX_MESSAGE];
	const size_t size = NetEncoder::Encode(message, bytes, sizeof(bytes));
	const NetEndpoint loopback = {ENET_HOST_TO_NET_32(0x7F000001u), static_cast<uint16_t>(port)};
	socket.SendTo(loopback, bytes, size);
	if (broadcast) {
		// Where there is no route for it the send fails, and the LAN is simply not asked.
		const NetEndpoint everyone = {ENET_HOST_BROADCAST, static_cast<uint16_t>(port)};
		socket.SendTo(everyone, bytes, size);
	}
	lastQuery = clock.Milliseconds();
	queried = true;
}

void NetBrowser::Update() {
	if (!socket.IsOpen()) {
		return;
	}
	const uint32_t now = clock.Milliseconds();
	if (!queried || now - lastQuery >= QUERY_INTERVAL) {
		Query();
	}
	for (int i = 0; i < DATAGRAMS_PER_UPDATE; i++) {
		NetEndpoint from;
		NetMessage message;
		const int got = socket.ReceiveMessage(decoder, from, message);
		if (got == 0) {
			break;
		}
		if (got < 0) {
			continue;
		}
		if (message.type != NET_MSG_ANSWER || from.port != port) {
			decoder.RefuseOutOfTurn(message, "at the browser");
			continue;
		}
		Found(from, message.answer, message.version);
	}
	for (int i = 0; i < count;) {
		if (now - hosts[i].heard > FORGET_AFTER) {
			hosts[i] = hosts[--count];
		} else {
			i++;
		}
	}
}

void NetBrowser::Found(const NetEndpoint &from, const NetAnswer &answer, int protocol) {
	// One host answers a broadcast from its LAN address and the loopback query from 127.0.0.1:
	// it is listed once, by its LAN address when it has one.
	NetFoundHost *entry = nullptr;
	for (int i = 0; i < count && !entry; i++) {
		if (hosts[i].endpoint.port == answer.port && strcmp(hosts[i].name, answer.name) == 0 &&
			(hosts[i].endpoint.host == from.host || IsLoopback(hosts[i].endpoint.host) || IsLoopback(from.host))) {
			entry = &hosts[i];
		}
	}
	if (!entry) {
		if (count == MAX_HOSTS) {
			return;
		}
		entry = &hosts[count++];
		entry->endpoint.host = from.host;
	} else if (!IsLoopback(from.host)) {
		entry->endpoint.host = from.host;
	}
	entry->endpoint.port = answer.port;
	memcpy(entry->name, answer.name, sizeof(entry->name));
	memcpy(entry->version, answer.version, sizeof(entry->version));
	entry->protocol = protocol;
	entry->heard = clock.Milliseconds();
}
