#include <gtest/gtest.h>

#include <enet/enet.h>

#include <random>
#include <string>

#include "LogCapture.h"
#include "NetRig.h"
#include "NetTestKit.h"
#include "ScratchDir.h"
#include "net/NetBrowser.h"
#include "net/NetDatagramSocket.h"
#include "net/NetDiscoveryResponder.h"

// A broadcast does not reach the loopback interface on every machine (nor leave a sandbox), so
// these tests ask this machine at 127.0.0.1, as the browser always does besides broadcasting:
// the query and answer are the same either way.

TEST(NetDiscovery, AHostOnThisMachineIsListedAtOnceAndForgottenWhenItGoes) {
	ScratchDir dir;
	LogCapture log;
	NetRig rig;
	NetConfig config = NetRig::Config(true);
	snprintf(config.name, sizeof(config.name), "den");
	NetSession &host = rig.AddHost(config);
	ASSERT_GT(host.GetDiscoveryPort(), 0) << log.Text();
	NetBrowser browser(rig.clock);
	ASSERT_TRUE(browser.Start(host.GetDiscoveryPort()));
	// Listed within 2 s of the clock.
	for (int i = 0; i < 20 && browser.GetCount() == 0; i++) {
		browser.Update();
		rig.Round(100);
	}
	ASSERT_EQ(browser.GetCount(), 1) << log.Text();
	const NetFoundHost &found = browser.Get(0);
	EXPECT_STREQ(found.name, "den");
	EXPECT_STREQ(found.version, config.version);
	EXPECT_EQ(found.protocol, NET_PROTOCOL_VERSION);
	EXPECT_EQ(found.endpoint.port, host.GetTransport().GetPort());
	// One click joins: the listed endpoint is the host's game.
	char address[32];
	NetAddress::Format(found.endpoint, address, sizeof(address));
	NetSession &joiner = rig.AddJoinerTo(address);
	ASSERT_TRUE(rig.RunUntil([&] { return joiner.GetState() == NET_SESSION_IN_MATCH; })) << log.Text();
	// A game with its player stops answering, and is forgotten 3 s later.
	for (int i = 0; i < 35; i++) {
		browser.Update();
		rig.Round(100);
	}
	EXPECT_EQ(browser.GetCount(), 0);
}

TEST(NetDiscovery, GarbageAtTheDiscoveryPortIsDroppedAndQueriesStillAnswered) {
	ScratchDir dir;
	LogCapture log;
	NetDiscoveryResponder responder(NET_PROTOCOL_VERSION);
	ASSERT_TRUE(responder.Open(0, 24780, "den", "0.9"));
	NetDatagramSocket sender;
	ASSERT_TRUE(sender.Open(0, false));
	const NetEndpoint to = {ENET_HOST_TO_NET_32(0x7F000001u), static_cast<uint16_t>(responder.GetPort())};
	std::mt19937 random(20261210);
	const std::vector<uint8_t> query = Encoded(NetMessage(NET_MSG_QUERY));
	for (int i = 0; i < 400; i++) {
		std::vector<uint8_t> bytes = i % 2 ? Encoded(SampleMessage(1 + random() % (NET_MSG_TYPE_COUNT - 1))) : query;
		if (i % 4 != 3) { // damaged; the rest are other messages
			bytes.resize(random() % (i % 40 == 0 ? 5000 : bytes.size() + 3));
			for (size_t b = 0; b < bytes.size(); b += 1 + random() % 3) {
				bytes[b] = static_cast<uint8_t>(random());
			}
		}
		if (bytes == query) {
			continue;
		}
		sender.SendTo(to, bytes.data(), bytes.size());
		if (i % 16 == 0) {
			responder.Update();
		}
	}
	for (int i = 0; i < 40; i++) {
		responder.Update();
	}
	EXPECT_EQ(responder.GetAnswered(), 0);
	EXPECT_GT(responder.GetDecoder().GetRefusedCount(), 250);
	EXPECT_TRUE(log.Has("NET: More refused messages are not logged"));
	// A real query after all that is answered, with a well formed answer.
	ASSERT_TRUE(sender.SendTo(to, query.data(), query.size()));
	responder.Update();
	EXPECT_EQ(responder.GetAnswered(), 1);
	uint8_t answer[NET_MAX_MESSAGE + 1];
	NetEndpoint from;
	int size = 0;
	for (int i = 0; i < 1000 && size == 0; i++) { // loopback delivers at once; a few tries at most
		size = sender.Receive(from, answer, sizeof(answer));
	}
	NetDecoder decoder(NET_PROTOCOL_VERSION);
	NetMessage read;
	ASSERT_GT(size, 0);
	ASSERT_TRUE(decoder.Decode(answer, static_cast<size_t>(size), read));
	EXPECT_EQ(read.type, NET_MSG_ANSWER);
	EXPECT_EQ(read.answer.port, 24780);
}
