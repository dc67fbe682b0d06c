#ifndef TAVRO_NET_NETMESSAGE_H
#define TAVRO_NET_NETMESSAGE_H

#include <cstdint>

// The messages of network play. On the wire each is a 4-byte header, then its payload:
//   type (1 byte), protocol version (1 byte), payload length (2 bytes, little-endian)
// Numbers are little-endian, floats IEEE 754 single precision, texts a length byte and that
// many printable ASCII characters. One message per ENet packet or discovery datagram.
// HELLO, REFUSED, QUERY and ANSWER keep their layout in every protocol version, so two
// different versions can still tell each other what they run.

constexpr int NET_PROTOCOL_VERSION = 1;
constexpr int NET_DEFAULT_PORT = 24780;   // the game's ENet port
constexpr int NET_DISCOVERY_PORT = 24781; // the hosts' answer to LAN queries
constexpr int NET_HEADER_SIZE = 4;        // bytes
constexpr int NET_MAX_PAYLOAD = 120;      // bytes; the largest message is a snapshot
constexpr int NET_MAX_MESSAGE = NET_HEADER_SIZE + NET_MAX_PAYLOAD;
constexpr int NET_VERSION_SIZE = 16; // characters of a version text, terminator included
constexpr int NET_NAME_SIZE = 32;    // characters of a host's name, terminator included
constexpr int NET_BODY_COUNT = 3;    // the ball, disc 1, disc 2
constexpr int NET_PERIOD_COUNT = 4;
constexpr char NET_DISCOVERY_MAGIC[] = "TAVRO"; // begins every discovery datagram's payload

// Limits a received number must keep.
constexpr float NET_POSITION_LIMIT = 1000.0f;    // units from the arena's centre, per axis
constexpr float NET_SPEED_LIMIT = 2000.0f;       // units per second, per axis
constexpr int NET_PERIOD_TIME_LIMIT = 4 * 60000; // ms: the longest period
constexpr int NET_TURN_TIME_LIMIT = 5000;        // ms: the longest turn

enum NetMessageType {
	NET_MSG_HELLO = 1,     // joiner to host, reliable
	NET_MSG_WELCOME = 2,   // host to joiner, reliable: the options that rule the match
	NET_MSG_REFUSED = 3,   // host to joiner, reliable, then the host hangs up
	NET_MSG_BYE = 4,       // either way, reliable
	NET_MSG_KEEPALIVE = 5, // either way, after a second with nothing else sent
	NET_MSG_AIM = 6,       // either way, unreliable sequenced
	NET_MSG_FIRE = 7,      // joiner to host, reliable
	NET_MSG_SNAPSHOT = 8,  // host to joiner, unreliable sequenced
	NET_MSG_EVENT = 9,     // host to joiner, reliable
	NET_MSG_REST = 10,     // host to joiner, reliable: the bodies at rest after a turn
	NET_MSG_QUERY = 11,    // discovery datagram: who hosts here?
	NET_MSG_ANSWER = 12,   // discovery datagram: a host's answer
	NET_MSG_TYPE_COUNT = 13
};

enum NetRefusalReason {
	NET_REFUSED_FULL = 1,   // the host has its player
	NET_REFUSED_VERSION = 2 // the host speaks another protocol version
};

enum NetByeReason {
	NET_BYE_LEFT = 0, // the player left the match
	NET_BYE_OVER = 1  // the match ended with its trophy
};

enum NetEventKind {
	NET_EVENT_COUNTDOWN = 1, // three, two, one
	NET_EVENT_PERIOD = 2,    // number: the period starting, 0 to 3
	NET_EVENT_TURN = 3,      // number: the turn, side: whose
	NET_EVENT_SHOT = 4,      // side fired with the aim x, y (from its disc)
	NET_EVENT_GOAL = 5,      // side scored; score: the goals after it
	NET_EVENT_TROPHY = 6,    // score: the final one
	NET_EVENT_HIT = 7,       // code: the ContactKind, at x, y, speed: the fastest body's
	NET_EVENT_SOUND = 8,     // code: the SoundSlot of a match sound
	NET_EVENT_KIND_COUNT = 9
};

enum NetSnapshotFlag {
	NET_SNAP_BALL_HIDDEN = 1, // the ball is in a goal
	NET_SNAP_RESET = 2,       // the bodies were put back on their spots since the last snapshot
	NET_SNAP_ALL_FLAGS = 3
};

struct NetHello {
	uint8_t character; // 0 to CHARACTER_COUNT - 1
	char version[NET_VERSION_SIZE];
};

// The host's options that rule the match, as the options record holds them.
struct NetWelcome {
	uint8_t matchLength;  // minutes per period, 1 to 4
	uint8_t shootTime;    // seconds per turn, 1 to 5
	uint8_t daytime;      // Daytime
	int8_t arena;         // -1 random, 0 or 1
	uint32_t seed;        // the host's match seed
	uint8_t character[2]; // side 1 (the host's) and side 2 (the joiner's)
};

struct NetRefused {
	uint8_t reason;                 // NetRefusalReason
	char version[NET_VERSION_SIZE]; // the host's
};

struct NetBye {
	uint8_t reason; // NetByeReason
};

// An aim as the disc's owner steers it: the aim point's offset from the disc.
struct NetAim {
	uint32_t sequence; // stamped by the sender, growing
	uint16_t turn;
	uint8_t side; // 1 or 2
	float x, y;   // units from the disc, at most the aim's length apart
};

struct NetFire {
	uint16_t turn;
	uint8_t side; // 1 or 2
	float x, y;   // units: the aim's offset from the disc when fired
};

struct NetBody {
	float x, y;   // units
	float vx, vy; // units per second
};

struct NetSnapshot {
	uint32_t sequence;              // stamped by the sender, growing
	uint32_t time;                  // ms of the sender's clock when sent
	uint8_t phase;                  // MatchPhase
	int8_t period;                  // -1 before the first, up to 3
	uint32_t periodLeft;            // ms
	uint16_t turn;                  // 0 before the first
	uint8_t side;                   // whose turn, 0 before the first
	uint16_t turnLeft;              // ms
	uint8_t score[2];               // goals of side 1 and 2
	uint8_t announcement;           // AnnouncementMode
	uint8_t flags;                  // NetSnapshotFlag bits
	NetBody bodies[NET_BODY_COUNT]; // ball, disc 1, disc 2
};

struct NetEvent {
	uint8_t kind;    // NetEventKind; the comments there say which fields count
	uint32_t time;   // ms of the host's clock when it happened, stamped by the sender
	uint8_t side;    // 1 or 2
	uint16_t number; // a turn or a period
	uint8_t score[2];
	uint8_t code; // ContactKind or SoundSlot
	float x, y;   // units: a contact point, or a shot's aim from its disc
	float speed;  // units per second
};

struct NetRest {
	uint16_t turn;
	uint32_t time;                      // ms of the host's clock when the turn ended, stamped by the sender
	float positions[NET_BODY_COUNT][2]; // units: ball, disc 1, disc 2
};

struct NetAnswer {
	uint16_t port; // the host's game port
	char name[NET_NAME_SIZE];
	char version[NET_VERSION_SIZE];
};

// One message: its type, the protocol version it was written in, and the payload of its type.
struct NetMessage {
	uint8_t type;    // NetMessageType
	uint8_t version; // 1 to 255
	union {
		NetHello hello;
		NetWelcome welcome;
		NetRefused refused;
		NetBye bye;
		NetAim aim;
		NetFire fire;
		NetSnapshot snapshot;
		NetEvent event;
		NetRest rest;
		NetAnswer answer;
	};

	// A zeroed message of type in this game's protocol version.
	explicit NetMessage(uint8_t type_ = 0) : type(type_), version(NET_PROTOCOL_VERSION), snapshot() {}
};

// The type's name for log lines ("snapshot"), "unknown" out of range.
const char *NetMessageName(int type);

#endif
