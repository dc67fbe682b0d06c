#include "net/NetDecoder.h"

#include <cmath>

#include "core/LogFile.h"
#include "audio/SoundBank.h"
#include "net/NetMessage.h"
#include "net/NetReader.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"
#include "world/Aim.h"
#include "world/Announcement.h"
#include "world/ContactRules.h"
#include "world/MatchContext.h"

namespace {

const float AIM_LIMIT = Aim::MAX_LENGTH + 0.01f; // units: rounding of a point held at the limit

const int MATCH_SOUNDS[] = {SOUND_DISC_DISC_SLOW, SOUND_DISC_DISC_FAST, SOUND_DISC_WALL_SLOW, SOUND_DISC_WALL_FAST,
	SOUND_DISC_BALL, SOUND_TARZAN, SOUND_GOAL, SOUND_START, SOUND_SHOT, SOUND_HURRY_UP};

// Types whose layout every version keeps.
bool Frozen(int type) {
	return type == NET_MSG_HELLO || type == NET_MSG_REFUSED || type == NET_MSG_QUERY || type == NET_MSG_ANSWER;
}

void ReadMagic(NetReader &in) {
	for (int i = 0; NET_DISCOVERY_MAGIC[i]; i++) {
		if (in.U8() != static_cast<uint8_t>(NET_DISCOVERY_MAGIC[i])) {
			in.Fail(NetReader::FAULT_RANGE);
		}
	}
}

void ReadAimOffset(NetReader &in, float &x, float &y) {
	x = in.F32(AIM_LIMIT);
	y = in.F32(AIM_LIMIT);
	if (std::sqrt(x * x + y * y) > AIM_LIMIT) {
		in.Fail(NetReader::FAULT_RANGE);
	}
}

void ReadEvent(NetReader &in, NetEvent &e) {
	e.kind = static_cast<uint8_t>(in.U8In(NET_EVENT_COUNTDOWN, NET_EVENT_KIND_COUNT - 1));
	e.time = in.U32();
	switch (e.kind) {
	case NET_EVENT_PERIOD: e.number = static_cast<uint16_t>(in.U8In(0, NET_PERIOD_COUNT - 1)); break;
	case NET_EVENT_TURN:
		e.number = static_cast<uint16_t>(in.U16In(1, 0xFFFF));
		e.side = static_cast<uint8_t>(in.U8In(1, 2));
		break;
	case NET_EVENT_SHOT:
		e.side = static_cast<uint8_t>(in.U8In(1, 2));
		ReadAimOffset(in, e.x, e.y);
		break;
	case NET_EVENT_GOAL:
		e.side = static_cast<uint8_t>(in.U8In(1, 2));
		e.score[0] = static_cast<uint8_t>(in.U8());
		e.score[1] = static_cast<uint8_t>(in.U8());
		break;
	case NET_EVENT_TROPHY:
		e.score[0] = static_cast<uint8_t>(in.U8());
		e.score[1] = static_cast<uint8_t>(in.U8());
		break;
	case NET_EVENT_HIT:
		e.code = static_cast<uint8_t>(in.U8In(TOUCH_DISC_DISC, TOUCH_BALL_WALL));
		e.x = in.F32(NET_POSITION_LIMIT);
		e.y = in.F32(NET_POSITION_LIMIT);
		e.speed = in.F32(NET_SPEED_LIMIT);
		if (e.speed < 0.0f) {
			in.Fail(NetReader::FAULT_RANGE);
		}
		break;
	case NET_EVENT_SOUND: {
		e.code = static_cast<uint8_t>(in.U8());
		bool known = false;
		for (int slot : MATCH_SOUNDS) {
			known = known || e.code == slot;
		}
		if (!known) {
			in.Fail(NetReader::FAULT_RANGE);
		}
		break;
	}
	default: break;
	}
}

void ReadSnapshot(NetReader &in, NetSnapshot &s) {
	s.sequence = in.U32In(1, 0xFFFFFFFFu);
	s.time = in.U32();
	s.phase = static_cast<uint8_t>(in.U8In(PHASE_MENU_OPEN, PHASE_REPLAY));
	s.period = static_cast<int8_t>(in.Int8(-1, NET_PERIOD_COUNT - 1));
	s.periodLeft = in.U32In(0, NET_PERIOD_TIME_LIMIT);
	s.turn = static_cast<uint16_t>(in.U16());
	s.side = static_cast<uint8_t>(in.U8In(0, 2));
	s.turnLeft = static_cast<uint16_t>(in.U16In(0, NET_TURN_TIME_LIMIT));
	s.score[0] = static_cast<uint8_t>(in.U8());
	s.score[1] = static_cast<uint8_t>(in.U8());
	s.announcement = static_cast<uint8_t>(in.U8In(ANNOUNCE_NONE, ANNOUNCE_TROPHY));
	s.flags = static_cast<uint8_t>(in.U8In(0, NET_SNAP_ALL_FLAGS));
	for (NetBody &body : s.bodies) {
		body.x = in.F32(NET_POSITION_LIMIT);
		body.y = in.F32(NET_POSITION_LIMIT);
		body.vx = in.F32(NET_SPEED_LIMIT);
		body.vy = in.F32(NET_SPEED_LIMIT);
	}
}

void ReadPayload(NetReader &in, NetMessage &m) {
	switch (m.type) {
	case NET_MSG_HELLO:
		m.hello.character = static_cast<uint8_t>(in.U8In(0, CHARACTER_COUNT - 1));
		in.Text(m.hello.version, NET_VERSION_SIZE, 1);
		break;
	case NET_MSG_WELCOME:
		m.welcome.matchLength = static_cast<uint8_t>(in.U8In(1, 4));
		m.welcome.shootTime = static_cast<uint8_t>(in.U8In(1, 5));
		m.welcome.daytime = static_cast<uint8_t>(in.U8In(DAYTIME_DAY, DAYTIME_RANDOM));
		m.welcome.arena = static_cast<int8_t>(in.Int8(-1, 1));
		m.welcome.seed = in.U32();
		m.welcome.character[0] = static_cast<uint8_t>(in.U8In(0, CHARACTER_COUNT - 1));
		m.welcome.character[1] = static_cast<uint8_t>(in.U8In(0, CHARACTER_COUNT - 1));
		break;
	case NET_MSG_REFUSED:
		m.refused.reason = static_cast<uint8_t>(in.U8In(NET_REFUSED_FULL, NET_REFUSED_VERSION));
		in.Text(m.refused.version, NET_VERSION_SIZE, 1);
		break;
	case NET_MSG_BYE: m.bye.reason = static_cast<uint8_t>(in.U8In(NET_BYE_LEFT, NET_BYE_OVER)); break;
	case NET_MSG_AIM:
		m.aim.sequence = in.U32In(1, 0xFFFFFFFFu);
		m.aim.turn = static_cast<uint16_t>(in.U16In(1, 0xFFFF));
		m.aim.side = static_cast<uint8_t>(in.U8In(1, 2));
		ReadAimOffset(in, m.aim.x, m.aim.y);
		break;
	case NET_MSG_FIRE:
		m.fire.turn = static_cast<uint16_t>(in.U16In(1, 0xFFFF));
		m.fire.side = static_cast<uint8_t>(in.U8In(1, 2));
		ReadAimOffset(in, m.fire.x, m.fire.y);
		break;
	case NET_MSG_SNAPSHOT: ReadSnapshot(in, m.snapshot); break;
	case NET_MSG_EVENT: ReadEvent(in, m.event); break;
	case NET_MSG_REST:
		m.rest.turn = static_cast<uint16_t>(in.U16In(1, 0xFFFF));
		m.rest.time = in.U32();
		for (float *position : m.rest.positions) {
			position[0] = in.F32(NET_POSITION_LIMIT);
			position[1] = in.F32(NET_POSITION_LIMIT);
		}
		break;
	case NET_MSG_QUERY: ReadMagic(in); break;
	case NET_MSG_ANSWER:
		ReadMagic(in);
		m.answer.port = static_cast<uint16_t>(in.U16In(1, 0xFFFF));
		in.Text(m.answer.name, NET_NAME_SIZE, 0);
		in.Text(m.answer.version, NET_VERSION_SIZE, 1);
		break;
	default: break; // the keep-alive has no fields
	}
}

NetRefusal FromFault(NetReader::Fault fault) {
	switch (fault) {
	case NetReader::FAULT_SHORT: return NET_REFUSED_SHORT;
	case NetReader::FAULT_RANGE: return NET_REFUSED_RANGE;
	case NetReader::FAULT_NOT_FINITE: return NET_REFUSED_NOT_FINITE;
	case NetReader::FAULT_TEXT: return NET_REFUSED_TEXT;
	default: return NET_ACCEPTED;
	}
}

} // namespace

NetDecoder::NetDecoder(int version_) : version(version_), lastSnapshot(0), lastAim(), last(NET_ACCEPTED), refused(0) {}

void NetDecoder::ResetOrder() {
	lastSnapshot = 0;
	lastAim[0] = lastAim[1] = 0;
}

bool NetDecoder::Decode(const uint8_t *data, size_t size, NetMessage &out) {
	last = Read(data, size, out);
	if (last == NET_ACCEPTED) {
		last = CheckOrder(out);
	}
	if (last != NET_ACCEPTED) {
		Warn(data, size, last);
		return false;
	}
	if (out.type == NET_MSG_SNAPSHOT) {
		lastSnapshot = out.snapshot.sequence;
	} else if (out.type == NET_MSG_AIM) {
		lastAim[out.aim.side - 1] = out.aim.sequence;
	}
	return true;
}

NetRefusal NetDecoder::Read(const uint8_t *data, size_t size, NetMessage &out) {
	if (size < static_cast<size_t>(NET_HEADER_SIZE)) {
		return NET_REFUSED_SHORT;
	}
	if (size > static_cast<size_t>(NET_MAX_MESSAGE)) {
		return NET_REFUSED_OVERSIZED;
	}
	out = NetMessage(data[0]);
	out.version = data[1];
	const size_t length = data[2] | (static_cast<size_t>(data[3]) << 8);
	if (out.type == 0 || out.type >= NET_MSG_TYPE_COUNT) {
		return NET_REFUSED_UNKNOWN;
	}
	if (out.version == 0 || (out.version != version && !Frozen(out.type))) {
		return NET_REFUSED_OTHER_VERSION;
	}
	if (length != size - NET_HEADER_SIZE) {
		return NET_REFUSED_LENGTH;
	}
	NetReader in(data + NET_HEADER_SIZE, length);
	ReadPayload(in, out);
	if (in.Failed()) {
		return FromFault(in.GetFault());
	}
	return in.Remaining() > 0 ? NET_REFUSED_OVERSIZED : NET_ACCEPTED;
}

NetRefusal NetDecoder::CheckOrder(const NetMessage &message) const {
	if (message.type == NET_MSG_SNAPSHOT && message.snapshot.sequence <= lastSnapshot) {
		return NET_REFUSED_ORDER;
	}
	if (message.type == NET_MSG_AIM && message.aim.sequence <= lastAim[message.aim.side - 1]) {
		return NET_REFUSED_ORDER;
	}
	return NET_ACCEPTED;
}

void NetDecoder::Warn(const uint8_t *data, size_t size, NetRefusal why) {
	static const char *const reasons[NET_REFUSAL_COUNT] = {"", "too short", "too long",
		"its length is not the header's", "of an unknown type", "of another protocol version", "a number out of range",
		"a number that is not finite", "a bad text", "out of order"};
	if (!Count()) {
		return;
	}
	const int type = size > 0 ? data[0] : 0;
	const int sent = size > 1 ? data[1] : 0;
	Log(LOG_WARNING, "NET: Refused a message (%s, type %d, version %d, %u bytes): %s", NetMessageName(type), type, sent,
		static_cast<unsigned>(size), reasons[why]);
}

void NetDecoder::RefuseOutOfTurn(const NetMessage &message, const char *why) {
	last = NET_REFUSED_ORDER;
	if (Count()) {
		Log(LOG_WARNING, "NET: Refused a message of type %s %s", NetMessageName(message.type), why);
	}
}

bool NetDecoder::Count() {
	refused++;
	if (refused == WARNING_LIMIT + 1) {
		Log(LOG_WARNING, "NET: More refused messages are not logged");
	}
	return refused <= WARNING_LIMIT;
}
