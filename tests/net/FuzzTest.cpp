#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "NetFuzz.h"
#include "NetTestKit.h"
#include "net/NetDecoder.h"
#include "net/NetMessage.h"

// Every message cut at every length and many randomly damaged copies, through the fuzz entry
// point (which aborts when a message read back is not written again byte for byte) and a
// decoder. Run under the sanitizer build too: there a read past the end is the failure.

namespace {

const unsigned SEED = 20261208;

using Bytes = std::vector<uint8_t>;

Bytes Damage(const Bytes &good, std::mt19937 &random) {
	Bytes b = good;
	const int edits = 1 + random() % 3;
	for (int e = 0; e < edits; e++) {
		const size_t at = b.empty() ? 0 : random() % b.size();
		switch (random() % 7) {
		case 0: // one byte to anything
			if (!b.empty()) {
				b[at] = static_cast<uint8_t>(random());
			}
			break;
		case 1: // one bit
			if (!b.empty()) {
				b[at] ^= static_cast<uint8_t>(1u << (random() % 8));
			}
			break;
		case 2: b.erase(b.begin() + at, b.begin() + std::min(b.size(), at + 1 + random() % 6)); break;
		case 3: b.insert(b.begin() + at, 1 + random() % 8, static_cast<uint8_t>(random())); break;
		case 4: // the header's length made to match what is there now
			if (b.size() >= 4) {
				b[2] = static_cast<uint8_t>(b.size() - 4);
				b[3] = static_cast<uint8_t>((b.size() - 4) >> 8);
			}
			break;
		case 5: // a float's top byte: NaN, infinity or a huge number
			if (b.size() > 8) {
				b[4 + random() % (b.size() - 4)] = random() % 2 ? 0x7F : 0xFF;
			}
			break;
		default: // another type or version
			if (b.size() >= 2) {
				b[random() % 2] = static_cast<uint8_t>(random() % 16);
			}
			break;
		}
	}
	return b;
}

std::vector<Bytes> Seeds() {
	std::vector<Bytes> seeds;
	for (int type = 1; type < NET_MSG_TYPE_COUNT; type++) {
		seeds.push_back(Encoded(SampleMessage(type)));
	}
	for (int kind = NET_EVENT_COUNTDOWN; kind < NET_EVENT_KIND_COUNT; kind++) {
		NetMessage m(NET_MSG_EVENT);
		m.event.kind = static_cast<uint8_t>(kind);
		m.event.side = 1;
		m.event.number = 2;
		m.event.code = kind == NET_EVENT_SOUND ? 8 : 3;
		m.event.speed = 1.0f;
		seeds.push_back(Encoded(m));
	}
	return seeds;
}

} // namespace

TEST(NetFuzz, DamagedMessagesAreReadWholeOrRefusedNeverPastTheirEnd) {
	std::mt19937 random(SEED);
	NetDecoder decoder(NET_PROTOCOL_VERSION);
	int accepted = 0, refused = 0;
	auto feed = [&](const Bytes &b) {
		// A copy of exactly its size, so the sanitizer sees any read past it.
		std::vector<uint8_t> exact(b);
		NetFuzzOne(exact.data(), exact.size());
		NetMessage message;
		(decoder.Decode(exact.data(), exact.size(), message) ? accepted : refused)++;
		decoder.ResetOrder();
	};
	for (const Bytes &good : Seeds()) {
		for (size_t cut = 0; cut <= good.size(); cut++) {
			feed(Bytes(good.begin(), good.begin() + cut));
		}
		for (int i = 0; i < 1500; i++) {
			feed(Damage(good, random));
		}
	}
	for (int i = 0; i < 3000; i++) { // noise of any length up to past the largest message
		Bytes noise(random() % (NET_MAX_MESSAGE + 20));
		for (uint8_t &byte : noise) {
			byte = static_cast<uint8_t>(random());
		}
		feed(noise);
	}
	printf("net messages: %d read, %d refused\n", accepted, refused);
	EXPECT_GT(accepted, 1000);
	EXPECT_GT(refused, 10000);
}

TEST(NetFuzz, StreamsOfMessagesGoThroughTheDecoderAndTheInterpolator) {
	std::mt19937 random(SEED + 1);
	const std::vector<Bytes> seeds = Seeds();
	for (int round = 0; round < 400; round++) {
		Bytes stream;
		const int count = 1 + random() % 12;
		for (int i = 0; i < count; i++) {
			Bytes message = seeds[random() % seeds.size()];
			if (message[0] == NET_MSG_SNAPSHOT) { // sequence and time, sometimes going back
				message[4] = static_cast<uint8_t>(round * 16 + i - random() % 3);
				message[8] = static_cast<uint8_t>(random());
				message[9] = static_cast<uint8_t>(random());
			}
			if (random() % 4 == 0) {
				message = Damage(message, random);
			}
			stream.push_back(static_cast<uint8_t>(message.size()));
			stream.insert(stream.end(), message.begin(), message.end());
		}
		EXPECT_EQ(NetFuzzOne(stream.data(), stream.size()), 0);
	}
}
