#include "net/NetLink.h"

#include "core/Clock.h"
#include "net/NetEncoder.h"
#include "net/NetMessage.h"
#include "net/NetTransport.h"

NetLink::NetLink(NetTransport &transport_, Clock &clock_, int version)
	: transport(transport_), clock(clock_), decoder(version), peer(-1), heard(0), sent(0), received() {}

void NetLink::Attach(int peer_) {
	peer = peer_;
	decoder.ResetOrder();
	heard = sent = clock.Milliseconds();
}

bool NetLink::SendTo(NetTransport &transport, int peer, const NetMessage &message) {
	uint8_t bytes[NET_MAX_MESSAGE];
	const size_t size = NetEncoder::Encode(message, bytes, sizeof(bytes));
	const bool reliable =
		message.type != NET_MSG_AIM && message.type != NET_MSG_SNAPSHOT && message.type != NET_MSG_KEEPALIVE;
	return size > 0 && transport.Send(peer, bytes, size, reliable);
}

bool NetLink::Send(const NetMessage &message) {
	if (!SendTo(transport, peer, message)) {
		return false;
	}
	sent = clock.Milliseconds();
	return true;
}

bool NetLink::Receive(const NetTransportEvent &event, NetMessage &out) {
	if (!decoder.Decode(event.bytes, event.size, out)) {
		return false;
	}
	if (event.peer == peer) {
		heard = clock.Milliseconds();
		received[out.type]++;
	}
	return true;
}

void NetLink::KeepAlive(uint32_t interval) {
	if (peer >= 0 && clock.Milliseconds() - sent >= interval) {
		Send(NetMessage(NET_MSG_KEEPALIVE));
	}
}

uint32_t NetLink::GetSilence() const {
	return clock.Milliseconds() - heard;
}
