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
	for (int i = 0; i < DATAGRAMS_PER_UPDATE && socket.IsOpen(); i++) {
		NetEndpoint from;
		NetMessage query;
		const int got = socket.ReceiveMessage(decoder, from, query);
		if (got == 0) {
			return;
		}
		if (got < 0) {
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
