#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <cstring>
#include <random>
#include <string>

#include "LogCapture.h"
#include "NetRig.h"
#include "NetTestKit.h"
#include "ScratchDir.h"
#include "net/NetAddress.h"
#include "net/NetDatagramSocket.h"

namespace {

bool InMatch(const NetSession &s) {
	return s.GetState() == NET_SESSION_IN_MATCH;
}

bool EndedWith(const NetSession &s, NetEndReason reason) {
	return s.GetState() == NET_SESSION_ENDED && s.GetEndReason() == reason;
}

class NetSessionTest : public ::testing::Test {
protected:
	// A host and a joiner in a match.
	void Connect() {
		host = &rig.AddHost();
		ASSERT_EQ(host->GetState(), NET_SESSION_WAITING) << log.Text();
		joiner = &rig.AddJoiner(*host);
		ASSERT_EQ(joiner->GetState(), NET_SESSION_CONNECTING) << log.Text();
		ASSERT_TRUE(rig.RunUntil([&] { return InMatch(*host) && InMatch(*joiner); })) << log.Text();
	}

	ScratchDir dir;
	LogCapture log;
	NetRig rig;
	NetSession *host = nullptr;
	NetSession *joiner = nullptr;
};

} // namespace

TEST_F(NetSessionTest, AMatchGoesFromHelloToBye) {
	Connect();
	// The host's options rule, with the joiner's character for side 2.
	const NetWelcome &options = joiner->GetOptions();
	EXPECT_EQ(options.matchLength, 3);
	EXPECT_EQ(options.shootTime, 4);
	EXPECT_EQ(options.seed, 1234u);
	EXPECT_EQ(options.character[0], 2);
	EXPECT_EQ(options.character[1], 2);
	EXPECT_EQ(host->GetOptions().character[1], 2);
	EXPECT_EQ(joiner->GetSide(), 2);
	EXPECT_TRUE(log.Has("NET: A player from 127.0.0.1:")) << log.Text();
	EXPECT_TRUE(log.Has("NET: Joined the match at 127.0.0.1:"));

	// Aims both ways, the newest one kept; the joiner's shot reaches the host.
	for (int i = 1; i <= 5; i++) {
		joiner->SendAim(1, 2.0f * i, -1.0f);
		host->SendAim(2, -3.0f, 0.5f * i);
	}
	NetAim aim;
	ASSERT_TRUE(rig.RunUntil([&] { return host->GetPeerAim(aim) && aim.x == 10.0f; }));
	EXPECT_EQ(aim.side, 2);
	ASSERT_TRUE(rig.RunUntil([&] { return joiner->GetPeerAim(aim) && aim.y == 2.5f; }));
	EXPECT_EQ(aim.side, 1);
	joiner->SendFire(7, 30.0f, -40.0f);
	NetFire fire;
	ASSERT_TRUE(rig.RunUntil([&] { return host->TakeFire(fire); }));
	EXPECT_EQ(fire.turn, 7);
	EXPECT_EQ(fire.x, 30.0f);
	EXPECT_EQ(fire.y, -40.0f);

	// Snapshots when due (25 a second), events and a rest report in their order.
	int sent = 0;
	for (int frame = 0; frame < 60; frame++) { // a second at 60 frames a second
		if (host->IsSnapshotDue()) {
			NetSnapshot snapshot = SampleMessage(NET_MSG_SNAPSHOT).snapshot;
			snapshot.bodies[0].x = static_cast<float>(frame);
			host->SendSnapshot(snapshot);
			sent++;
		}
		rig.Round(16);
	}
	EXPECT_GE(sent, 24);
	EXPECT_LE(sent, 26);
	ASSERT_GT(joiner->GetSnapshots().GetCount(), 0);
	EXPECT_EQ(joiner->GetSnapshots().GetNewest().sequence, static_cast<uint32_t>(sent));
	NetBody bodies[NET_BODY_COUNT];
	NetSnapshot state;
	ASSERT_TRUE(joiner->SampleBodies(bodies, &state));
	EXPECT_EQ(state.score[1], 5);
	for (int kind : {NET_EVENT_PERIOD, NET_EVENT_TURN, NET_EVENT_GOAL}) {
		NetEvent event = {};
		event.kind = static_cast<uint8_t>(kind);
		event.side = 1;
		event.number = 1;
		event.score[0] = 1;
		host->SendEvent(event);
	}
	const uint32_t sentAt = rig.clock.Milliseconds();
	host->SendRest(SampleMessage(NET_MSG_REST).rest);
	NetRest rest;
	ASSERT_TRUE(rig.RunUntil([&] { return joiner->TakeRest(rest); }));
	EXPECT_EQ(rest.positions[2][1], 0.25f);
	EXPECT_EQ(rest.time, sentAt); // stamped with the host's clock
	NetEvent event;
	for (int kind : {NET_EVENT_PERIOD, NET_EVENT_TURN, NET_EVENT_GOAL}) {
		ASSERT_TRUE(joiner->TakeEvent(event));
		EXPECT_EQ(event.kind, kind);
		EXPECT_EQ(event.time, sentAt);
	}
	EXPECT_FALSE(joiner->TakeEvent(event));
	// The joiner shows the host's moment of sending the interpolation's delay later (loopback
	// delivers within the round).
	uint32_t shown = 0;
	ASSERT_TRUE(joiner->GetShownTime(shown));
	EXPECT_LE(static_cast<int32_t>(shown - sentAt), 0);
	rig.Round(SnapshotInterpolator::DELAY + 20);
	ASSERT_TRUE(joiner->GetShownTime(shown));
	EXPECT_GE(static_cast<int32_t>(shown - sentAt), 0);

	// Bye: the joiner leaves, the host is told in plain words.
	joiner->Leave();
	EXPECT_TRUE(EndedWith(*joiner, NET_END_LEFT));
	EXPECT_FALSE(joiner->IsClosed()); // until the host acknowledges the goodbye
	EXPECT_STREQ(joiner->GetStatusText(), "You left the match");
	ASSERT_TRUE(rig.RunUntil([&] { return EndedWith(*host, NET_END_OPPONENT_LEFT); })) << log.Text();
	EXPECT_STREQ(host->GetStatusText(), "Your opponent left");
	EXPECT_TRUE(log.Has("Message: NET: Your opponent left"));
	EXPECT_TRUE(rig.RunUntil([&] { return joiner->IsClosed() && host->IsClosed(); }));
	// Nothing refused on the way.
	EXPECT_EQ(host->GetLink().GetDecoder().GetRefusedCount(), 0);
	EXPECT_EQ(joiner->GetLink().GetDecoder().GetRefusedCount(), 0);
}

TEST_F(NetSessionTest, TheMatchOverAndMessagesOutOfPlaceAreRefused) {
	Connect();
	// A joiner cannot send snapshots: the host refuses them (the session asserts on the call,
	// so a raw message goes through the transport).
	NetMessage snapshot = SampleMessage(NET_MSG_SNAPSHOT);
	NetTransport &transport = const_cast<NetTransport &>(joiner->GetTransport());
	ASSERT_TRUE(NetLink::SendTo(transport, joiner->GetLink().GetPeer(), snapshot));
	ASSERT_TRUE(rig.RunUntil([&] { return host->GetLink().GetDecoder().GetRefusedCount() == 1; }));
	EXPECT_TRUE(log.Has("NET: Refused a message of type snapshot from the joiner")) << log.Text();
	EXPECT_TRUE(InMatch(*host));
	host->EndMatch();
	ASSERT_TRUE(rig.RunUntil([&] { return EndedWith(*joiner, NET_END_OVER); }));
	EXPECT_TRUE(EndedWith(*host, NET_END_OVER));
	EXPECT_STREQ(joiner->GetStatusText(), "The match is over");
}

// The host ends the match and goes at once (its program quits): its hang-up overtakes the
// goodbye still unread at the joiner, whose ENet then drops it. The hang-up says the match is
// over all the same.
TEST_F(NetSessionTest, AHostGoneRightAfterTheTrophyLeavesTheMatchOver) {
	Connect();
	host->EndMatch();
	for (auto at = rig.sessions.begin(); at != rig.sessions.end(); ++at) {
		if (at->get() == host) {
			rig.sessions.erase(at);
			break;
		}
	}
	ASSERT_TRUE(rig.RunUntil([&] { return joiner->GetState() == NET_SESSION_ENDED; })) << log.Text();
	EXPECT_EQ(joiner->GetEndReason(), NET_END_OVER) << joiner->GetStatusText();
}

TEST_F(NetSessionTest, ASecondJoinerIsToldTheGameIsFull) {
	Connect();
	NetSession &third = rig.AddJoiner(*host);
	ASSERT_TRUE(rig.RunUntil([&] { return third.GetState() == NET_SESSION_ENDED; })) << log.Text();
	EXPECT_EQ(third.GetEndReason(), NET_END_FULL);
	EXPECT_STREQ(third.GetStatusText(), "That game is full");
	EXPECT_TRUE(log.Has("NET: Refused a player from 127.0.0.1:"));
	// The match goes on.
	joiner->SendFire(1, 1.0f, 1.0f);
	NetFire fire;
	EXPECT_TRUE(rig.RunUntil([&] { return host->TakeFire(fire); }));
	EXPECT_TRUE(InMatch(*host) && InMatch(*joiner));
}

TEST_F(NetSessionTest, AnotherVersionIsRefusedInPlainWords) {
	NetConfig hostConfig = NetRig::Config();
	snprintf(hostConfig.version, sizeof(hostConfig.version), "1.4");
	host = &rig.AddHost(hostConfig);
	NetConfig newer = NetRig::Config();
	newer.protocolVersion = NET_PROTOCOL_VERSION + 1;
	snprintf(newer.version, sizeof(newer.version), "2.0-beta");
	NetSession &other = rig.AddJoiner(*host, newer);
	ASSERT_TRUE(rig.RunUntil([&] { return other.GetState() == NET_SESSION_ENDED; })) << log.Text();
	EXPECT_EQ(other.GetEndReason(), NET_END_VERSION);
	EXPECT_STREQ(other.GetStatusText(), "That player runs version 1.4");
	EXPECT_TRUE(log.Has("running version 2.0-beta")) << log.Text();
	// The host still waits, and a player of its version gets in.
	EXPECT_EQ(host->GetState(), NET_SESSION_WAITING);
	joiner = &rig.AddJoiner(*host);
	EXPECT_TRUE(rig.RunUntil([&] { return InMatch(*joiner) && InMatch(*host); })) << log.Text();
}

TEST_F(NetSessionTest, TenSecondsOfSilenceEndTheMatchButAQuietMatchLivesOn) {
	Connect();
	// Nothing sent for 30 s of the clock but keep-alives: still in the match.
	for (int i = 0; i < 300; i++) {
		rig.Round(100);
	}
	ASSERT_TRUE(InMatch(*host) && InMatch(*joiner)) << log.Text();
	// The host hears the joiner once more, then the joiner goes quiet (a frozen or killed
	// process): 9.9 s later the host still waits...
	joiner->SendAim(1, 0.0f, 0.0f);
	rig.Round(0);
	rig.Round(0);
	for (int i = 0; i < 99; i++) {
		rig.Round(100, {joiner});
	}
	EXPECT_TRUE(InMatch(*host));
	rig.Round(100, {joiner});
	// ...at 10 s it ends in plain words.
	EXPECT_TRUE(EndedWith(*host, NET_END_LOST));
	EXPECT_STREQ(host->GetStatusText(), "Connection lost");
	EXPECT_TRUE(log.Has("Warning: NET: Connection lost"));
}

TEST_F(NetSessionTest, NoAnswerOrNoHelloEndsAfterFiveSeconds) {
	NetDatagramSocket mute; // takes datagrams, never answers
	ASSERT_TRUE(mute.Open(0, false));
	const std::string address = "127.0.0.1:" + std::to_string(mute.GetPort());
	NetSession &lonely = rig.AddJoinerTo(address.c_str());
	for (int i = 0; i < 49; i++) {
		rig.Round(100);
	}
	EXPECT_EQ(lonely.GetState(), NET_SESSION_CONNECTING);
	EXPECT_STREQ(lonely.GetStatusText(), ("Connecting to " + address).c_str());
	rig.Round(100);
	EXPECT_TRUE(EndedWith(lonely, NET_END_NO_ANSWER));
	EXPECT_EQ(lonely.GetStatusText(), "No answer from " + address + " after 5 seconds");
	// An address that cannot be read.
	NetSession &bad = rig.AddJoinerTo("[::1]:80");
	EXPECT_TRUE(EndedWith(bad, NET_END_FAILED));
	NetSession &waiting = rig.AddHost();
	EXPECT_NE(std::string(waiting.GetStatusText()).find("Waiting for a player on port "), std::string::npos);
	// A connection that never says hello holds the game for 5 s, then a player gets in.
	NetTransport silent;
	const NetEndpoint hostEnd = {htonl(0x7F000001u), static_cast<uint16_t>(waiting.GetTransport().GetPort())};
	const int peer = silent.Connect(hostEnd);
	NetTransportEvent event;
	ASSERT_TRUE(rig.RunUntil([&] { return silent.Poll(event) && event.kind == NetTransportEvent::CONNECTED; }));
	silent.Flush(); // its acknowledgement: the host counts it connected
	ASSERT_TRUE(rig.RunUntil([&] { return log.Count("NET: A player connects from") == 1; }));
	NetSession &late = rig.AddJoiner(waiting);
	ASSERT_TRUE(rig.RunUntil([&] { return EndedWith(late, NET_END_FULL); }));
	for (int i = 0; i < 50; i++) {
		rig.Round(100);
		silent.Poll(event);
	}
	EXPECT_TRUE(log.Has("NET: No hello from 127.0.0.1:")) << log.Text();
	EXPECT_FALSE(silent.IsConnected(peer));
	NetSession &player = rig.AddJoiner(waiting);
	ASSERT_TRUE(rig.RunUntil([&] { return InMatch(player) && InMatch(waiting); })) << log.Text();
	player.Leave();
	// Leaving before anyone came.
	NetSession &other = rig.AddHost();
	other.Leave();
	EXPECT_TRUE(EndedWith(other, NET_END_CANCELLED));
}

TEST_F(NetSessionTest, GarbageAtTheGamePortChangesNothing) {
	host = &rig.AddHost();
	UdpRelay relay;
	ASSERT_TRUE(relay.Open(host->GetTransport().GetPort()));
	rig.relay = &relay;
	joiner = &rig.AddJoinerTo(("127.0.0.1:" + std::to_string(relay.GetPort())).c_str());
	ASSERT_TRUE(rig.RunUntil([&] { return InMatch(*host) && InMatch(*joiner); })) << log.Text();
	joiner->SendAim(1, 1.0f, 1.0f);
	ASSERT_TRUE(rig.RunUntil([&] { return relay.fromJoiner.size() >= 4; }));

	// From the joiner's own address: its real datagrams cut short, damaged and replayed, and
	// random bytes; from a stranger: random bytes of every size.
	std::mt19937 random(20261209);
	NetDatagramSocket stranger;
	ASSERT_TRUE(stranger.Open(0, false));
	const NetEndpoint hostEnd = {htonl(0x7F000001u), static_cast<uint16_t>(host->GetTransport().GetPort())};
	const std::vector<std::vector<uint8_t>> real = relay.fromJoiner;
	for (int i = 0; i < 600; i++) {
		std::vector<uint8_t> bytes = real[random() % real.size()];
		switch (i % 4) {
		case 0: bytes.resize(random() % bytes.size()); break;
		case 1: bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1 + random() % 255); break;
		case 2: break; // a replay
		default:
			bytes.resize(random() % 1500);
			for (uint8_t &b : bytes) {
				b = static_cast<uint8_t>(random());
			}
			break;
		}
		relay.SendToHost(bytes);
		std::vector<uint8_t> noise(random() % (i % 50 == 0 ? 9000 : 600));
		for (uint8_t &b : noise) {
			b = static_cast<uint8_t>(random());
		}
		stranger.SendTo(hostEnd, noise.data(), noise.size());
		if (i % 20 == 0) {
			rig.Round(10);
		}
	}
	for (int i = 0; i < 20; i++) {
		rig.Round(10);
	}
	EXPECT_TRUE(InMatch(*host) && InMatch(*joiner)) << log.Text();
	// The match still talks both ways.
	joiner->SendFire(3, -5.0f, 5.0f);
	host->SendRest(SampleMessage(NET_MSG_REST).rest);
	NetFire fire;
	NetRest rest;
	EXPECT_TRUE(rig.RunUntil([&] { return host->TakeFire(fire); })) << log.Text();
	EXPECT_TRUE(rig.RunUntil([&] { return joiner->TakeRest(rest); })) << log.Text();
	EXPECT_EQ(fire.turn, 3);
}

TEST(NetAddress, ReadsNamesAddressesAndPorts) {
	struct Case {
		const char *text;
		bool ok;
		const char *name;
		int port;
	};
	const Case cases[] = {
		{"192.168.1.20", true, "192.168.1.20", 24780},
		{" lan-box:30000 ", true, "lan-box", 30000},
		{"localhost:1", true, "localhost", 1},
		{"host:65535", true, "host", 65535},
		{"host:65536", false, "", 0},
		{"host:0", false, "", 0},
		{"host:", false, "", 0},
		{"host:12a", false, "", 0},
		{":24780", false, "", 0},
		{"", false, "", 0},
		{"a b", false, "", 0},
		{"::1", false, "", 0},
		{"host:1:2", false, "", 0},
	};
	for (const Case &c : cases) {
		NetAddress address;
		EXPECT_EQ(address.Parse(c.text, NET_DEFAULT_PORT), c.ok) << c.text;
		EXPECT_STREQ(address.GetName(), c.name) << c.text;
		EXPECT_EQ(address.GetPort(), c.port) << c.text;
	}
	NetAddress address;
	ASSERT_TRUE(address.Parse("127.0.0.1:99", NET_DEFAULT_PORT));
	NetEndpoint endpoint;
	ASSERT_TRUE(address.Resolve(endpoint));
	char text[32];
	NetAddress::Format(endpoint, text, sizeof(text));
	EXPECT_STREQ(text, "127.0.0.1:99");
	EXPECT_STREQ(address.GetText(), "127.0.0.1:99");
	char local[200];
	NetAddress::LocalAddresses(local, sizeof(local));
	EXPECT_GT(strlen(local), 6u);
}
