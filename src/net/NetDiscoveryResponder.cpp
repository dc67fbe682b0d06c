#include "net/NetDiscoveryResponder.h"

#include <cstdio>

#include "net/NetEncoder.h"

NetDiscoveryResponder::NetDiscoveryResponder(int version) : decoder(version), answer(), answerSize(0), answered(0) {}

bool NetDiscoveryResponder::Open(int port, int gamePort, const char *name, const char *gameVersion) {
	NetMessage message(NET_MSG_ANSWER);
	message.version = static_cast<uint8_t>(decoder.GetVersion());
	message.answer.port = static_cast<uint16_t>(gamePort);
	snprintf(message.answer.name, sizeof(message.answer.name), "%s", name);
	snprintf(message.answer.version, sizeof(message.answer.version), "%s", gameVersion);
	answerSize = NetEncoder::Encode(message, answer, sizeof(answer));
	return answerSize > 0 && socket.Open(port, false);
}

void NetDiscoveryResponder::Update() {
	uint8_t buffer[NET_MAX_MESSAGE + 1]; // one more: a longer datagram shows as too long
	for (int i = 0; i < DATAGRAMS_PER_UPDATE && socket.IsOpen(); i++) {
		NetEndpoint from;
		const int size = socket.Receive(from, buffer, sizeof(buffer));
		if (size == 0) {
			return;
		}
		NetMessage query;
		if (size < 0 || !decoder.Decode(buffer, static_cast<size_t>(size), query)) {
			continue;
		}
		if (query.type != NET_MSG_QUERY) {
			decoder.RefuseOutOfTurn(query, "at the discovery port");
			continue;
		}
		if (socket.SendTo(from, answer, answerSize)) {
			answered++;
		}
	}
}
