#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "LogCapture.h"
#include "NetTestKit.h"
#include "ScratchDir.h"
#include "net/NetDecoder.h"
#include "net/NetMessage.h"

namespace {

std::vector<uint8_t> Again(const std::vector<uint8_t> &bytes, NetMessage &read) {
	NetDecoder decoder(NET_PROTOCOL_VERSION);
	EXPECT_TRUE(decoder.Decode(bytes.data(), bytes.size(), read)) << NetMessageName(bytes[0]);
	return Encoded(read);
}

NetEvent Event(int kind) {
	NetEvent e = {};
	e.kind = static_cast<uint8_t>(kind);
	e.side = 2;
	e.number = 3;
	e.score[0] = 4;
	e.score[1] = 1;
	e.code = kind == NET_EVENT_SOUND ? 13 : 6; // the shot's sound; a ball on a wall
	e.x = kind == NET_EVENT_SHOT ? 59.9f : -70.0f;
	e.y = 0.125f;
	e.speed = kind == NET_EVENT_HIT ? 12.0f : 0.0f;
	return e;
}

} // namespace

TEST(NetCodec, EveryMessageComesBackAsItWasSent) {
	for (int type = 1; type < NET_MSG_TYPE_COUNT; type++) {
		const std::vector<uint8_t> bytes = Encoded(SampleMessage(type));
		ASSERT_GE(bytes.size(), static_cast<size_t>(NET_HEADER_SIZE)) << type;
		EXPECT_LE(bytes.size(), static_cast<size_t>(NET_MAX_MESSAGE)) << type;
		EXPECT_EQ(bytes[0], type);
		EXPECT_EQ(bytes[1], NET_PROTOCOL_VERSION);
		EXPECT_EQ(bytes[2] | bytes[3] << 8, static_cast<int>(bytes.size()) - NET_HEADER_SIZE);
		NetMessage read;
		EXPECT_EQ(Again(bytes, read), bytes) << NetMessageName(type);
		EXPECT_EQ(read.type, type);
		printf("%-10s %3zu bytes\n", NetMessageName(type), bytes.size());
	}
	// Every event kind, with only its own fields on the wire.
	for (int kind = NET_EVENT_COUNTDOWN; kind < NET_EVENT_KIND_COUNT; kind++) {
		NetMessage m(NET_MSG_EVENT);
		m.event = Event(kind);
		const std::vector<uint8_t> bytes = Encoded(m);
		NetMessage read;
		EXPECT_EQ(Again(bytes, read), bytes) << "event kind " << kind;
		EXPECT_EQ(read.event.kind, kind);
	}
	// Fields read back where they were written.
	NetMessage read;
	Again(Encoded(SampleMessage(NET_MSG_SNAPSHOT)), read);
	EXPECT_EQ(read.snapshot.bodies[2].vy, 2000.0f);
	EXPECT_EQ(read.snapshot.period, 3);
	EXPECT_EQ(read.snapshot.periodLeft, 61234u);
	Again(Encoded(SampleMessage(NET_MSG_WELCOME)), read);
	EXPECT_EQ(read.welcome.arena, -1);
	EXPECT_EQ(read.welcome.seed, 0xDEADBEEFu);
	EXPECT_EQ(read.welcome.character[1], 3);
	Again(Encoded(SampleMessage(NET_MSG_ANSWER)), read);
	EXPECT_STREQ(read.answer.name, "lan-box");
	EXPECT_EQ(read.answer.port, 24780);
	Again(Encoded(SampleMessage(NET_MSG_EVENT)), read);
	EXPECT_EQ(read.event.time, 0xFFFFFFF0u);
	Again(Encoded(SampleMessage(NET_MSG_REST)), read);
	EXPECT_EQ(read.rest.time, 123456u);
	EXPECT_EQ(read.rest.positions[2][1], 0.25f);
}

TEST(NetCodec, RefusesWhatIsNotAWholeGoodMessage) {
	ScratchDir dir;
	LogCapture log;
	using Bytes = std::vector<uint8_t>;
	auto with = [](int type, const std::function<void(NetMessage &)> &change) {
		NetMessage m = SampleMessage(type);
		change(m);
		return Encoded(m);
	};
	auto edited = [](int type, const std::function<void(Bytes &)> &change) {
		Bytes b = Encoded(SampleMessage(type));
		change(b);
		return b;
	};
	auto resized = [](Bytes &b, size_t payload) { // the header kept in step
		b.resize(NET_HEADER_SIZE + payload, 0);
		b[2] = static_cast<uint8_t>(payload);
		b[3] = static_cast<uint8_t>(payload >> 8);
	};
	const float nan = std::numeric_limits<float>::quiet_NaN();
	const float inf = std::numeric_limits<float>::infinity();
	struct Case {
		const char *what;
		Bytes bytes;
		NetRefusal expected;
	};
	// clang-format off
	const Case cases[] = {
		{"nothing", {}, NET_REFUSED_SHORT},
		{"half a header", {NET_MSG_BYE, 1, 1}, NET_REFUSED_SHORT},
		{"cut off after its header said more", edited(NET_MSG_SNAPSHOT, [](Bytes &b) { b.resize(30); }), NET_REFUSED_LENGTH},
		{"header says less than came", edited(NET_MSG_FIRE, [](Bytes &b) { b[2]--; }), NET_REFUSED_LENGTH},
		{"fields cut short", edited(NET_MSG_AIM, [&](Bytes &b) { resized(b, 9); }), NET_REFUSED_SHORT},
		{"a byte past its fields", edited(NET_MSG_BYE, [&](Bytes &b) { resized(b, 2); }), NET_REFUSED_OVERSIZED},
		{"longer than any message", Bytes(NET_MAX_MESSAGE + 1, 0), NET_REFUSED_OVERSIZED},
		{"a huge length", {NET_MSG_AIM, 1, 0xFF, 0xFF, 1, 2, 3}, NET_REFUSED_LENGTH},
		{"type 0", {0, 1, 0, 0}, NET_REFUSED_UNKNOWN},
		{"type 13", {13, 1, 0, 0}, NET_REFUSED_UNKNOWN},
		{"type 255", {255, 1, 0, 0}, NET_REFUSED_UNKNOWN},
		{"a snapshot of version 2", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.version = 2; }), NET_REFUSED_OTHER_VERSION},
		{"a hello of version 0", with(NET_MSG_HELLO, [](NetMessage &m) { m.version = 0; }), NET_REFUSED_OTHER_VERSION},
		{"a hello of version 7 is read", with(NET_MSG_HELLO, [](NetMessage &m) { m.version = 7; }), NET_ACCEPTED},
		{"periods of 5 minutes", with(NET_MSG_WELCOME, [](NetMessage &m) { m.welcome.matchLength = 5; }), NET_REFUSED_RANGE},
		{"turns of 0 s", with(NET_MSG_WELCOME, [](NetMessage &m) { m.welcome.shootTime = 0; }), NET_REFUSED_RANGE},
		{"arena 2", with(NET_MSG_WELCOME, [](NetMessage &m) { m.welcome.arena = 2; }), NET_REFUSED_RANGE},
		{"daytime 3", with(NET_MSG_WELCOME, [](NetMessage &m) { m.welcome.daytime = 3; }), NET_REFUSED_RANGE},
		{"character 4", with(NET_MSG_HELLO, [](NetMessage &m) { m.hello.character = 4; }), NET_REFUSED_RANGE},
		{"refusal reason 3", with(NET_MSG_REFUSED, [](NetMessage &m) { m.refused.reason = 3; }), NET_REFUSED_RANGE},
		{"bye reason 2", with(NET_MSG_BYE, [](NetMessage &m) { m.bye.reason = 2; }), NET_REFUSED_RANGE},
		{"a ball at NaN", with(NET_MSG_SNAPSHOT, [&](NetMessage &m) { m.snapshot.bodies[0].x = nan; }), NET_REFUSED_NOT_FINITE},
		{"a disc at infinite speed", with(NET_MSG_SNAPSHOT, [&](NetMessage &m) { m.snapshot.bodies[2].vy = -inf; }), NET_REFUSED_NOT_FINITE},
		{"a disc off the world", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.bodies[1].y = 1000.5f; }), NET_REFUSED_RANGE},
		{"phase 0", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.phase = 0; }), NET_REFUSED_RANGE},
		{"phase 8", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.phase = 8; }), NET_REFUSED_RANGE},
		{"period 4", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.period = 4; }), NET_REFUSED_RANGE},
		{"period -2", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.period = -2; }), NET_REFUSED_RANGE},
		{"a period too long", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.periodLeft = 240001; }), NET_REFUSED_RANGE},
		{"a turn too long", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.turnLeft = 5001; }), NET_REFUSED_RANGE},
		{"side 3", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.side = 3; }), NET_REFUSED_RANGE},
		{"an unknown flag", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.flags = 4; }), NET_REFUSED_RANGE},
		{"announcement 4", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.announcement = 4; }), NET_REFUSED_RANGE},
		{"sequence 0", with(NET_MSG_SNAPSHOT, [](NetMessage &m) { m.snapshot.sequence = 0; }), NET_REFUSED_RANGE},
		{"an aim longer than the aim goes", with(NET_MSG_AIM, [](NetMessage &m) { m.aim.x = 50; m.aim.y = 40; }), NET_REFUSED_RANGE},
		{"an aim of side 0", with(NET_MSG_AIM, [](NetMessage &m) { m.aim.side = 0; }), NET_REFUSED_RANGE},
		{"a shot on turn 0", with(NET_MSG_FIRE, [](NetMessage &m) { m.fire.turn = 0; }), NET_REFUSED_RANGE},
		{"a shot at NaN", with(NET_MSG_FIRE, [&](NetMessage &m) { m.fire.y = nan; }), NET_REFUSED_NOT_FINITE},
		{"a bell in a version", with(NET_MSG_HELLO, [](NetMessage &m) { m.hello.version[1] = '\a'; }), NET_REFUSED_TEXT},
		{"no version", with(NET_MSG_HELLO, [](NetMessage &m) { m.hello.version[0] = 0; }), NET_REFUSED_TEXT},
		{"a version of 16 characters", edited(NET_MSG_HELLO, [&](Bytes &b) { resized(b, 18); b[5] = 16;
			memset(&b[6], 'x', 16); }), NET_REFUSED_TEXT},
		{"a text longer than its message", edited(NET_MSG_REFUSED, [](Bytes &b) { b[5] = 9; }), NET_REFUSED_SHORT},
		{"event kind 0", with(NET_MSG_EVENT, [](NetMessage &m) { m.event.kind = 0; }), NET_REFUSED_RANGE},
		{"event kind 9", with(NET_MSG_EVENT, [](NetMessage &m) { m.event.kind = 9; }), NET_REFUSED_RANGE},
		{"a goal counted as a hit", with(NET_MSG_EVENT, [](NetMessage &m) { m.event.code = 7; }), NET_REFUSED_RANGE},
		{"a hit at negative speed", with(NET_MSG_EVENT, [](NetMessage &m) { m.event.speed = -1; }), NET_REFUSED_RANGE},
		{"a sound that is no match sound", with(NET_MSG_EVENT, [](NetMessage &m) { m.event = Event(NET_EVENT_SOUND);
			m.event.code = 1; }), NET_REFUSED_RANGE},
		{"period 4 starts", with(NET_MSG_EVENT, [](NetMessage &m) { m.event = Event(NET_EVENT_PERIOD);
			m.event.number = 4; }), NET_REFUSED_RANGE},
		{"a query of another game", edited(NET_MSG_QUERY, [](Bytes &b) { b[4] = 'X'; }), NET_REFUSED_RANGE},
		{"an answer naming port 0", with(NET_MSG_ANSWER, [](NetMessage &m) { m.answer.port = 0; }), NET_REFUSED_RANGE},
	};
	// clang-format on
	int refusals = 0;
	for (const Case &c : cases) {
		NetDecoder decoder(NET_PROTOCOL_VERSION);
		NetMessage read;
		EXPECT_EQ(decoder.Decode(c.bytes.data(), c.bytes.size(), read), c.expected == NET_ACCEPTED) << c.what;
		EXPECT_EQ(decoder.GetLastRefusal(), c.expected) << c.what;
		refusals += c.expected != NET_ACCEPTED;
	}
	EXPECT_EQ(log.Count("Warning: NET: Refused a message ("), refusals);
	EXPECT_TRUE(log.Has("Warning: NET: Refused a message (snapshot, type 8, version 2, 75 bytes): of another "
						"protocol version"))
		<< log.Text();
}

TEST(NetCodec, RefusesSequencedMessagesOlderThanTheNewest) {
	ScratchDir dir;
	LogCapture log;
	NetDecoder decoder(NET_PROTOCOL_VERSION);
	auto snapshot = [&](uint32_t sequence) {
		NetMessage m = SampleMessage(NET_MSG_SNAPSHOT);
		m.snapshot.sequence = sequence;
		const std::vector<uint8_t> b = Encoded(m);
		NetMessage read;
		return decoder.Decode(b.data(), b.size(), read);
	};
	auto aim = [&](int side, uint32_t sequence) {
		NetMessage m = SampleMessage(NET_MSG_AIM);
		m.aim.side = static_cast<uint8_t>(side);
		m.aim.sequence = sequence;
		const std::vector<uint8_t> b = Encoded(m);
		NetMessage read;
		return decoder.Decode(b.data(), b.size(), read);
	};
	EXPECT_TRUE(snapshot(5));
	EXPECT_FALSE(snapshot(5));
	EXPECT_EQ(decoder.GetLastRefusal(), NET_REFUSED_ORDER);
	EXPECT_FALSE(snapshot(4));
	EXPECT_TRUE(snapshot(9)); // a gap is a lost snapshot, not a fault
	EXPECT_TRUE(aim(1, 3));
	EXPECT_TRUE(aim(2, 1)); // each side counts its own
	EXPECT_FALSE(aim(1, 2));
	EXPECT_TRUE(aim(1, 4));
	decoder.ResetOrder(); // a new peer
	EXPECT_TRUE(snapshot(1));
	EXPECT_EQ(log.Count("out of order"), 3);
	EXPECT_EQ(decoder.GetRefusedCount(), 3);
}

TEST(NetCodec, AFloodOfGarbageLogsTwentyWarningsAndANote) {
	ScratchDir dir;
	LogCapture log;
	NetDecoder decoder(NET_PROTOCOL_VERSION);
	const uint8_t garbage[] = {99, 1, 0, 0};
	NetMessage read;
	for (int i = 0; i < 500; i++) {
		EXPECT_FALSE(decoder.Decode(garbage, sizeof(garbage), read));
	}
	EXPECT_EQ(decoder.GetRefusedCount(), 500);
	EXPECT_EQ(log.Count("NET: Refused"), NetDecoder::WARNING_LIMIT);
	EXPECT_EQ(log.Count("NET: More refused messages are not logged"), 1);
}
