#include "NetRig.h"

#include <enet/enet.h>

#include <string>

#include "net/NetMessage.h"

NetConfig NetRig::Config(bool discovery) {
	NetConfig config;
	config.port = 0;
	config.discoveryPort = discovery ? 0 : -1;
	return config;
}

NetSession &NetRig::AddHost(const NetConfig &config) {
	sessions.emplace_back(new NetSession(clock, config));
	NetWelcome options = {3, 4, 1, 0, 1234u, {2, 0}};
	sessions.back()->Host(options);
	return *sessions.back();
}

NetSession &NetRig::AddJoiner(const NetSession &host, const NetConfig &config, int character) {
	const std::string address = "127.0.0.1:" + std::to_string(host.GetTransport().GetPort());
	return AddJoinerTo(address.c_str(), config, character);
}

NetSession &NetRig::AddJoinerTo(const char *address, const NetConfig &config, int character) {
	sessions.emplace_back(new NetSession(clock, config));
	sessions.back()->Join(address, character);
	return *sessions.back();
}

void NetRig::Round(uint32_t ms, const std::vector<const NetSession *> &skip) {
	clock.Advance(ms);
	for (const std::unique_ptr<NetSession> &session : sessions) {
		bool skipped = false;
		for (const NetSession *s : skip) {
			skipped = skipped || s == session.get();
		}
		if (!skipped) {
			session->Update();
			session->Flush();
		}
		if (relay) {
			relay->Pump();
		}
	}
}

bool NetRig::RunUntil(const std::function<bool()> &done, uint32_t ms, int limit) {
	for (int i = 0; i < limit; i++) {
		if (done()) {
			return true;
		}
		Round(ms);
	}
	return done();
}

bool UdpRelay::Open(int hostPort) {
	host.host = ENET_HOST_TO_NET_32(0x7F000001u);
	host.port = static_cast<uint16_t>(hostPort);
	return front.Open(0, false) && back.Open(0, false);
}

void UdpRelay::Pump() {
	uint8_t buffer[4096];
	NetEndpoint from;
	for (int size; (size = front.Receive(from, buffer, sizeof(buffer))) > 0;) {
		joiner = from;
		joinerKnown = true;
		fromJoiner.emplace_back(buffer, buffer + size);
		back.SendTo(host, buffer, static_cast<size_t>(size));
	}
	for (int size; (size = back.Receive(from, buffer, sizeof(buffer))) > 0;) {
		if (joinerKnown) {
			front.SendTo(joiner, buffer, static_cast<size_t>(size));
		}
	}
}

void UdpRelay::SendToHost(const std::vector<uint8_t> &bytes) {
	back.SendTo(host, bytes.data(), bytes.size());
}
