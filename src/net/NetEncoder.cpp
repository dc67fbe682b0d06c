#include "net/NetEncoder.h"

#include "net/NetMessage.h"
#include "net/NetWriter.h"

namespace {

void WriteMagic(NetWriter &out) {
	for (int i = 0; NET_DISCOVERY_MAGIC[i]; i++) {
		out.U8(static_cast<uint8_t>(NET_DISCOVERY_MAGIC[i]));
	}
}

void WriteEvent(const NetEvent &e, NetWriter &out) {
	out.U8(e.kind);
	out.U32(e.time);
	switch (e.kind) {
	case NET_EVENT_PERIOD: out.U8(e.number); break;
	case NET_EVENT_TURN:
		out.U16(e.number);
		out.U8(e.side);
		break;
	case NET_EVENT_SHOT:
		out.U8(e.side);
		out.F32(e.x);
		out.F32(e.y);
		break;
	case NET_EVENT_GOAL:
		out.U8(e.side);
		out.U8(e.score[0]);
		out.U8(e.score[1]);
		break;
	case NET_EVENT_TROPHY:
		out.U8(e.score[0]);
		out.U8(e.score[1]);
		break;
	case NET_EVENT_HIT:
		out.U8(e.code);
		out.F32(e.x);
		out.F32(e.y);
		out.F32(e.speed);
		break;
	case NET_EVENT_SOUND: out.U8(e.code); break;
	default: break; // the countdown, and kinds the receiver refuses
	}
}

void WriteSnapshot(const NetSnapshot &s, NetWriter &out) {
	out.U32(s.sequence);
	out.U32(s.time);
	out.U8(s.phase);
	out.U8(static_cast<uint8_t>(s.period));
	out.U32(s.periodLeft);
	out.U16(s.turn);
	out.U8(s.side);
	out.U16(s.turnLeft);
	out.U8(s.score[0]);
	out.U8(s.score[1]);
	out.U8(s.announcement);
	out.U8(s.flags);
	for (const NetBody &body : s.bodies) {
		out.F32(body.x);
		out.F32(body.y);
		out.F32(body.vx);
		out.F32(body.vy);
	}
}

bool WritePayload(const NetMessage &m, NetWriter &out) {
	switch (m.type) {
	case NET_MSG_HELLO:
		out.U8(m.hello.character);
		out.Text(m.hello.version, NET_VERSION_SIZE);
		return true;
	case NET_MSG_WELCOME:
		out.U8(m.welcome.matchLength);
		out.U8(m.welcome.shootTime);
		out.U8(m.welcome.daytime);
		out.U8(static_cast<uint8_t>(m.welcome.arena));
		out.U32(m.welcome.seed);
		out.U8(m.welcome.character[0]);
		out.U8(m.welcome.character[1]);
		return true;
	case NET_MSG_REFUSED:
		out.U8(m.refused.reason);
		out.Text(m.refused.version, NET_VERSION_SIZE);
		return true;
	case NET_MSG_BYE: out.U8(m.bye.reason); return true;
	case NET_MSG_KEEPALIVE: return true;
	case NET_MSG_AIM:
		out.U32(m.aim.sequence);
		out.U16(m.aim.turn);
		out.U8(m.aim.side);
		out.F32(m.aim.x);
		out.F32(m.aim.y);
		return true;
	case NET_MSG_FIRE:
		out.U16(m.fire.turn);
		out.U8(m.fire.side);
		out.F32(m.fire.x);
		out.F32(m.fire.y);
		return true;
	case NET_MSG_SNAPSHOT: WriteSnapshot(m.snapshot, out); return true;
	case NET_MSG_EVENT: WriteEvent(m.event, out); return true;
	case NET_MSG_REST:
		out.U16(m.rest.turn);
		out.U32(m.rest.time);
		for (const float *position : m.rest.positions) {
			out.F32(position[0]);
			out.F32(position[1]);
		}
		return true;
	case NET_MSG_QUERY: WriteMagic(out); return true;
	case NET_MSG_ANSWER:
		WriteMagic(out);
		out.U16(m.answer.port);
		out.Text(m.answer.name, NET_NAME_SIZE);
		out.Text(m.answer.version, NET_VERSION_SIZE);
		return true;
	default: return false;
	}
}

} // namespace

size_t NetEncoder::Encode(const NetMessage &message, uint8_t *out, size_t capacity) {
	NetWriter writer(out, capacity);
	writer.U8(message.type);
	writer.U8(message.version);
	writer.U16(0); // the payload's length, once written
	if (!WritePayload(message, writer) || writer.Failed()) {
		return 0;
	}
	writer.PatchU16(2, static_cast<uint32_t>(writer.Written() - NET_HEADER_SIZE));
	return writer.Written();
}
