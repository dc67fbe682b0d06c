#include "NetTestKit.h"

#include <cstring>

#include "net/NetEncoder.h"

NetMessage SampleMessage(int type) {
	NetMessage m(static_cast<uint8_t>(type));
	switch (type) {
	case NET_MSG_HELLO:
		m.hello.character = 3;
		strcpy(m.hello.version, "0.9");
		break;
	case NET_MSG_WELCOME: m.welcome = {2, 5, 2, -1, 0xDEADBEEFu, {1, 3}}; break;
	case NET_MSG_REFUSED:
		m.refused.reason = NET_REFUSED_VERSION;
		strcpy(m.refused.version, "0.9");
		break;
	case NET_MSG_BYE: m.bye.reason = NET_BYE_OVER; break;
	case NET_MSG_AIM: m.aim = {7, 12, 2, -36.0f, 48.0f}; break; // a full-length aim: 60 units
	case NET_MSG_FIRE: m.fire = {12, 2, 10.5f, -3.25f}; break;
	case NET_MSG_SNAPSHOT:
		m.snapshot.sequence = 41;
		m.snapshot.time = 123456;
		m.snapshot.phase = 4;
		m.snapshot.period = 3;
		m.snapshot.periodLeft = 61234;
		m.snapshot.turn = 40;
		m.snapshot.side = 2;
		m.snapshot.turnLeft = 4960;
		m.snapshot.score[0] = 2;
		m.snapshot.score[1] = 5;
		m.snapshot.announcement = 0;
		m.snapshot.flags = NET_SNAP_RESET;
		m.snapshot.bodies[0] = {0.5f, -12.0f, 80.0f, -1.5f};
		m.snapshot.bodies[1] = {-35.0f, 0.0f, 0.0f, 0.0f};
		m.snapshot.bodies[2] = {1000.0f, -1000.0f, -2000.0f, 2000.0f}; // at the limits
		break;
	case NET_MSG_EVENT:
		m.event.kind = NET_EVENT_HIT;
		m.event.time = 0xFFFFFFF0u; // a host's clock about to wrap
		m.event.code = 1;           // disc on disc
		m.event.x = 3.0f;
		m.event.y = -4.0f;
		m.event.speed = 55.5f;
		break;
	case NET_MSG_REST: m.rest = {40, 123456u, {{1.0f, 2.0f}, {-35.0f, 0.0f}, {35.0f, 0.25f}}}; break;
	case NET_MSG_ANSWER:
		m.answer.port = 24780;
		strcpy(m.answer.name, "lan-box");
		strcpy(m.answer.version, "0.9");
		break;
	default: break; // keep-alive and query have no fields
	}
	return m;
}

std::vector<uint8_t> Encoded(const NetMessage &message) {
	uint8_t bytes[NET_MAX_MESSAGE];
	const size_t size = NetEncoder::Encode(message, bytes, sizeof(bytes));
	return std::vector<uint8_t>(bytes, bytes + size);
}
