#include "net/NetSession.h"

#include <cassert>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>

#include "core/Clock.h"
#include "core/LogFile.h"

NetSession::NetSession(Clock &clock_, const NetConfig &config_)
	: clock(clock_), config(config_), link(transport, clock_, config_.protocolVersion),
	  responder(config_.protocolVersion), role(ROLE_NONE), state(NET_SESSION_IDLE), endReason(NET_END_NONE), status(),
	  connected(false), pending(-1), pendingSince(0), started(0), options(), character(0), peerAim(), hasPeerAim(false),
	  aimSequence(0), snapshotSequence(0), nextSnapshot(0), peerText() {}

NetSession::~NetSession() {
	// Without waiting: the other side hears the hang-up if the datagram gets through, and
	// times out otherwise. After the trophy it says so, for a goodbye still on its way.
	transport.DisconnectNow(link.GetPeer(), endReason == NET_END_OVER ? NET_HANGUP_OVER : NET_HANGUP_BYE);
	transport.DisconnectNow(pending, NET_HANGUP_SILENT);
}

void NetSession::SetStatus(const char *format, ...) {
	va_list args;
	va_start(args, format);
	vsnprintf(status, sizeof(status), format, args);
	va_end(args);
}

const char *NetSession::PeerText(int peer) const {
	NetAddress::Format(transport.GetPeerEndpoint(peer), peerText, sizeof(peerText));
	return peerText;
}

bool NetSession::Host(const NetWelcome &options_) {
	assert(role == ROLE_NONE);
	role = ROLE_HOST;
	options = options_;
	started = clock.Milliseconds();
	if (!transport.Listen(config.port)) {
		SetStatus("Cannot host on port %d", config.port);
		Log(LOG_WARNING, "NET: %s", status);
		state = NET_SESSION_ENDED;
		endReason = NET_END_FAILED;
		return false;
	}
	const int port = transport.GetPort();
	Log(LOG_MESSAGE, "NET: Hosting on port %d, version %s", port, config.version);
	if (config.discoveryPort >= 0) {
		if (responder.Open(config.discoveryPort, port, config.name, config.version)) {
			Log(LOG_MESSAGE, "NET: Answering LAN queries on port %d", responder.GetPort());
		} else {
			Log(LOG_WARNING, "NET: Cannot answer LAN queries on port %d; a player must type the address",
				config.discoveryPort);
		}
	}
	char addresses[160];
	NetAddress::LocalAddresses(addresses, sizeof(addresses));
	// A plain dash: the menu's fonts hold printable ASCII only.
	SetStatus("Waiting for a player on port %d - your addresses: %s", port, addresses);
	state = NET_SESSION_WAITING;
	return true;
}

bool NetSession::Join(const char *address, int character_) {
	assert(role == ROLE_NONE);
	role = ROLE_JOINER;
	character = character_;
	started = clock.Milliseconds();
	NetEndpoint endpoint;
	if (!target.Parse(address, NET_DEFAULT_PORT)) {
		SetStatus("Cannot read the address \"%.200s\"", address ? address : "");
	} else if (!target.Resolve(endpoint)) {
		SetStatus("Cannot find %s", target.GetName());
	} else {
		const int peer = transport.Connect(endpoint);
		if (peer >= 0) {
			transport.SetTimeout(peer, config.connectTimeout);
			link.Attach(peer);
			SetStatus("Connecting to %s", target.GetText());
			Log(LOG_MESSAGE, "NET: Connecting to %s", target.GetText());
			state = NET_SESSION_CONNECTING;
			return true;
		}
		SetStatus("Cannot connect to %s", target.GetText());
	}
	Log(LOG_WARNING, "NET: %s", status);
	state = NET_SESSION_ENDED;
	endReason = NET_END_FAILED;
	return false;
}

void NetSession::Ended(NetEndReason reason) {
	if (state == NET_SESSION_ENDED) {
		return;
	}
	state = NET_SESSION_ENDED;
	endReason = reason;
	switch (reason) {
	case NET_END_LEFT: SetStatus("You left the match"); break;
	case NET_END_CANCELLED: SetStatus("Cancelled"); break;
	case NET_END_OPPONENT_LEFT: SetStatus("Your opponent left"); break;
	case NET_END_OVER: SetStatus("The match is over"); break;
	case NET_END_LOST: SetStatus("Connection lost"); break;
	case NET_END_NO_ANSWER:
		SetStatus("No answer from %s after %u seconds", target.GetText(), (config.connectTimeout + 500) / 1000);
		break;
	case NET_END_FULL: SetStatus("That game is full"); break;
	default: break; // the version's and the failures' texts are set where they happen
	}
	Log(reason == NET_END_LOST ? LOG_WARNING : LOG_MESSAGE, "NET: %s", status);
	responder.Close();
}

void NetSession::Leave() {
	if (state == NET_SESSION_ENDED || state == NET_SESSION_IDLE) {
		return;
	}
	if (link.IsAttached()) {
		NetMessage bye(NET_MSG_BYE);
		bye.bye.reason = NET_BYE_LEFT;
		SendToPeer(bye);
		transport.Disconnect(link.GetPeer(), NET_HANGUP_BYE);
	}
	transport.Disconnect(pending, NET_HANGUP_SILENT);
	Ended(state == NET_SESSION_IN_MATCH ? NET_END_LEFT : NET_END_CANCELLED);
	transport.Flush();
}

void NetSession::EndMatch() {
	if (state != NET_SESSION_IN_MATCH) {
		return;
	}
	NetMessage bye(NET_MSG_BYE);
	bye.bye.reason = NET_BYE_OVER;
	SendToPeer(bye);
	transport.Disconnect(link.GetPeer(), NET_HANGUP_OVER);
	Ended(NET_END_OVER);
	transport.Flush();
}

bool NetSession::IsClosed() const {
	for (int peer : {link.GetPeer(), pending}) {
		if (!transport.IsIdle(peer)) {
			return false;
		}
	}
	return true;
}

// ---------------------------------------------------------------------------------------------
// Receiving

void NetSession::Update() {
	NetTransportEvent event;
	for (int i = 0; i < EVENTS_PER_UPDATE && transport.Poll(event); i++) {
		Handle(event);
	}
	if (responder.IsOpen()) {
		responder.Update();
	}
	CheckTimers();
}

void NetSession::Handle(const NetTransportEvent &event) {
	switch (event.kind) {
	case NetTransportEvent::CONNECTED: Connected(event.peer); break;
	case NetTransportEvent::DISCONNECTED: Disconnected(event.peer, event.data); break;
	case NetTransportEvent::RECEIVED: Received(event); break;
	default: break;
	}
}

void NetSession::Connected(int peer) {
	transport.SetTimeout(peer, config.enetTimeout);
	if (role == ROLE_JOINER) {
		if (peer == link.GetPeer() && state == NET_SESSION_CONNECTING) {
			connected = true;
			link.Attach(peer);
			Log(LOG_MESSAGE, "NET: Connected to %s", target.GetText());
			NetMessage hello(NET_MSG_HELLO);
			hello.version = static_cast<uint8_t>(config.protocolVersion);
			hello.hello.character = static_cast<uint8_t>(character);
			snprintf(hello.hello.version, sizeof(hello.hello.version), "%s", config.version);
			SendToPeer(hello);
		}
		return;
	}
	if (state != NET_SESSION_WAITING || pending >= 0) {
		Refuse(peer, NET_REFUSED_FULL);
		return;
	}
	pending = peer;
	pendingSince = clock.Milliseconds();
	link.GetDecoder().ResetOrder();
	Log(LOG_MESSAGE, "NET: A player connects from %s", PeerText(peer));
}

void NetSession::Refuse(int peer, int reason) {
	NetMessage refusal(NET_MSG_REFUSED);
	refusal.version = static_cast<uint8_t>(config.protocolVersion);
	refusal.refused.reason = static_cast<uint8_t>(reason);
	snprintf(refusal.refused.version, sizeof(refusal.refused.version), "%s", config.version);
	NetLink::SendTo(transport, peer, refusal);
	transport.Disconnect(peer, reason == NET_REFUSED_FULL ? NET_HANGUP_FULL : NET_HANGUP_VERSION);
	if (reason == NET_REFUSED_FULL) {
		Log(LOG_MESSAGE, "NET: Refused a player from %s: the game is full", PeerText(peer));
	}
}

void NetSession::Disconnected(int peer, uint32_t hangup) {
	if (peer == pending) {
		pending = -1;
		Log(LOG_MESSAGE, "NET: The player from %s went before the hello", PeerText(peer));
		return;
	}
	if (peer != link.GetPeer()) {
		return; // one refused
	}
	link.Detach();
	if (state == NET_SESSION_CONNECTING) {
		if (hangup == NET_HANGUP_FULL) {
			Ended(NET_END_FULL);
		} else if (hangup == NET_HANGUP_VERSION) {
			SetStatus("That player runs another version");
			Ended(NET_END_VERSION);
		} else {
			Ended(connected ? NET_END_LOST : NET_END_NO_ANSWER);
		}
	} else if (state == NET_SESSION_IN_MATCH) {
		Ended(hangup == NET_HANGUP_OVER  ? NET_END_OVER
			  : hangup == NET_HANGUP_BYE ? NET_END_OPPONENT_LEFT
										 : NET_END_LOST);
	}
}

void NetSession::Received(const NetTransportEvent &event) {
	// Only the player, or the one saying hello, is listened to; refused peers are not.
	if (event.peer != link.GetPeer() && event.peer != pending) {
		return;
	}
	NetMessage message;
	if (!link.Receive(event, message) || state == NET_SESSION_ENDED) {
		return;
	}
	if (message.type == NET_MSG_KEEPALIVE) {
		return;
	}
	if (event.peer == pending) {
		if (message.type == NET_MSG_HELLO) {
			Hello(event.peer, message);
		} else {
			link.GetDecoder().RefuseOutOfTurn(message, "before the hello");
		}
		return;
	}
	if (role == ROLE_JOINER && state == NET_SESSION_CONNECTING) {
		if (message.type == NET_MSG_WELCOME) {
			Welcome(message);
		} else if (message.type == NET_MSG_REFUSED) {
			Refused(message);
		} else {
			link.GetDecoder().RefuseOutOfTurn(message, "before the options");
		}
		return;
	}
	MatchMessage(message);
}

void NetSession::Hello(int peer, const NetMessage &message) {
	pending = -1;
	if (message.version != config.protocolVersion) {
		Log(LOG_MESSAGE, "NET: Refused a player from %s running version %s", PeerText(peer), message.hello.version);
		Refuse(peer, NET_REFUSED_VERSION);
		return;
	}
	link.Attach(peer);
	options.character[1] = message.hello.character;
	NetMessage welcome(NET_MSG_WELCOME);
	welcome.welcome = options;
	SendToPeer(welcome);
	responder.Close(); // the game is no longer open
	Log(LOG_MESSAGE, "NET: A player from %s joined with character %d, version %s", PeerText(peer),
		message.hello.character, message.hello.version);
	SetStatus("Playing with %s", PeerText(peer));
	state = NET_SESSION_IN_MATCH;
}

void NetSession::Welcome(const NetMessage &message) {
	options = message.welcome;
	Log(LOG_MESSAGE, "NET: Joined the match at %s: %d minutes, %d s a turn, daytime %d, arena %d, seed %u",
		target.GetText(), options.matchLength, options.shootTime, options.daytime, options.arena,
		static_cast<unsigned>(options.seed));
	SetStatus("Playing with %s", target.GetText());
	state = NET_SESSION_IN_MATCH;
}

void NetSession::Refused(const NetMessage &message) {
	if (message.refused.reason == NET_REFUSED_FULL) {
		Ended(NET_END_FULL);
		return;
	}
	SetStatus("That player runs version %s", message.refused.version);
	Ended(NET_END_VERSION);
}

template <typename Queue, typename Item>
void NetSession::Keep(Queue &queue, const Item &item, const char *what) {
	if (!queue.Push(item)) {
		Log(LOG_WARNING, "NET: Too many %s waiting; one dropped", what);
	}
}

void NetSession::MatchMessage(const NetMessage &message) {
	const bool host = role == ROLE_HOST;
	const int peerSide = host ? 2 : 1;
	switch (message.type) {
	case NET_MSG_BYE: Ended(message.bye.reason == NET_BYE_OVER ? NET_END_OVER : NET_END_OPPONENT_LEFT); return;
	case NET_MSG_AIM:
		if (message.aim.side == peerSide) {
			peerAim = message.aim;
			hasPeerAim = true;
			return;
		}
		break;
	case NET_MSG_FIRE:
		if (host && message.fire.side == peerSide) {
			Keep(fires, message.fire, "shots");
			return;
		}
		break;
	case NET_MSG_SNAPSHOT:
		if (!host) {
			snapshots.Push(message.snapshot, clock.Milliseconds());
			return;
		}
		break;
	case NET_MSG_EVENT:
		if (!host) {
			Keep(events, message.event, "match events");
			return;
		}
		break;
	case NET_MSG_REST:
		if (!host) {
			Keep(rests, message.rest, "rest reports");
			return;
		}
		break;
	default: break;
	}
	link.GetDecoder().RefuseOutOfTurn(message, host ? "from the joiner" : "from the host");
}

void NetSession::CheckTimers() {
	const uint32_t now = clock.Milliseconds();
	if (pending >= 0 && now - pendingSince >= config.connectTimeout) {
		Log(LOG_MESSAGE, "NET: No hello from %s; hung up", PeerText(pending));
		transport.Disconnect(pending, NET_HANGUP_SILENT);
		pending = -1;
	}
	if (state == NET_SESSION_CONNECTING && now - started >= config.connectTimeout) {
		transport.Reset(link.GetPeer());
		link.Detach();
		Ended(NET_END_NO_ANSWER);
	} else if (state == NET_SESSION_IN_MATCH && link.GetSilence() >= config.silenceTimeout) {
		transport.Reset(link.GetPeer());
		link.Detach();
		Ended(NET_END_LOST);
	}
	if (state == NET_SESSION_IN_MATCH || (state == NET_SESSION_CONNECTING && connected)) {
		link.KeepAlive(config.keepAliveInterval);
	}
}

// ---------------------------------------------------------------------------------------------
// Sending

bool NetSession::SendToPeer(const NetMessage &message) {
	NetMessage stamped = message;
	stamped.version = static_cast<uint8_t>(config.protocolVersion);
	return link.Send(stamped);
}

void NetSession::SendAim(uint16_t turn, float x, float y) {
	if (state != NET_SESSION_IN_MATCH) {
		return;
	}
	NetMessage message(NET_MSG_AIM);
	message.aim.sequence = ++aimSequence;
	message.aim.turn = turn;
	message.aim.side = static_cast<uint8_t>(GetSide());
	message.aim.x = x;
	message.aim.y = y;
	SendToPeer(message);
}

bool NetSession::GetPeerAim(NetAim &out) const {
	if (hasPeerAim) {
		out = peerAim;
	}
	return hasPeerAim;
}

void NetSession::SendFire(uint16_t turn, float x, float y) {
	assert(role == ROLE_JOINER);
	if (state != NET_SESSION_IN_MATCH) {
		return;
	}
	NetMessage message(NET_MSG_FIRE);
	message.fire.turn = turn;
	message.fire.side = 2;
	message.fire.x = x;
	message.fire.y = y;
	SendToPeer(message);
}

bool NetSession::IsSnapshotDue() const {
	return state == NET_SESSION_IN_MATCH &&
		   (snapshotSequence == 0 || static_cast<int32_t>(clock.Milliseconds() - nextSnapshot) >= 0);
}

void NetSession::SendSnapshot(const NetSnapshot &snapshot) {
	assert(role == ROLE_HOST);
	if (state != NET_SESSION_IN_MATCH) {
		return;
	}
	NetMessage message(NET_MSG_SNAPSHOT);
	message.snapshot = snapshot;
	message.snapshot.sequence = ++snapshotSequence;
	const uint32_t now = clock.Milliseconds();
	message.snapshot.time = now;
	SendToPeer(message);
	// On a steady beat whatever the frame rate; a host that fell behind starts a new one.
	nextSnapshot = snapshotSequence == 1 ? now + config.snapshotInterval : nextSnapshot + config.snapshotInterval;
	if (static_cast<int32_t>(now - nextSnapshot) >= 0) {
		nextSnapshot = now + config.snapshotInterval;
	}
}

void NetSession::SendEvent(const NetEvent &event) {
	assert(role == ROLE_HOST);
	if (state == NET_SESSION_IN_MATCH) {
		NetMessage message(NET_MSG_EVENT);
		message.event = event;
		message.event.time = clock.Milliseconds();
		SendToPeer(message);
	}
}

void NetSession::SendRest(const NetRest &rest) {
	assert(role == ROLE_HOST);
	if (state == NET_SESSION_IN_MATCH) {
		NetMessage message(NET_MSG_REST);
		message.rest = rest;
		message.rest.time = clock.Milliseconds();
		SendToPeer(message);
	}
}

bool NetSession::SampleBodies(NetBody out[NET_BODY_COUNT], NetSnapshot *state_) const {
	return snapshots.Sample(clock.Milliseconds(), out, state_);
}

bool NetSession::GetShownTime(uint32_t &hostTime) const {
	return snapshots.GetShownTime(clock.Milliseconds(), hostTime);
}
