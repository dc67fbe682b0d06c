#include "match/NetPlay.h"

#include <cstdio>
#include <cstring>

#include "core/LogFile.h"
#include "core/Random.h"
#include "options/NameTable.h"
#include "options/OptionsRecord.h"

NetPlay::NetPlay()
	: clock(&realClock), status(), score{-1, -1}, shown(), seed(0), start(START_NONE), startPort(NET_DEFAULT_PORT),
	  startAddress(), showAfterMatch(false) {}

NetPlay::~NetPlay() {
	Drop();
}

void NetPlay::RequestStart(int what, int port, const char *address) {
	start = what;
	startPort = port;
	snprintf(startAddress, sizeof(startAddress), "%s", address ? address : "");
}

int NetPlay::TakeStartRequest() {
	const int what = start;
	start = START_NONE;
	return what;
}

void NetPlay::EndOfMatch(int goals1, int goals2) {
	score[0] = goals1;
	score[1] = goals2;
	showAfterMatch = true;
}

bool NetPlay::TakeShowAfterMatch() {
	const bool shown = showAfterMatch;
	showAfterMatch = false;
	return shown;
}

bool NetPlay::Host(const OptionsRecord &options, int port) {
	Drop();
	score[0] = score[1] = -1;
	Random chance(seed ? seed : Random::ClockSeed());
	NetWelcome welcome = {};
	welcome.matchLength = static_cast<uint8_t>(options.matchLength);
	welcome.shootTime = static_cast<uint8_t>(options.shootTime);
	welcome.daytime = static_cast<uint8_t>(options.daytime == DAYTIME_RANDOM ? chance.Below(2) : options.daytime);
	welcome.arena = static_cast<int8_t>(options.arena == -1 ? chance.Below(2) : options.arena);
	welcome.seed = chance.GetSeed();
	welcome.character[0] = static_cast<uint8_t>(options.character[0]);
	Log(LOG_MESSAGE, "NET: Hosting a match of %d minutes a period, %d s a turn, by %s in %s", welcome.matchLength,
		welcome.shootTime, welcome.daytime == DAYTIME_NIGHT ? "night" : "day", ArenaName(welcome.arena));
	NetConfig hosting = config;
	hosting.port = port;
	session.reset(new NetSession(*clock, hosting));
	const bool hosted = session->Host(welcome);
	KeepStatus();
	return hosted;
}

bool NetPlay::Join(const char *address, const OptionsRecord &options) {
	Drop();
	score[0] = score[1] = -1;
	session.reset(new NetSession(*clock, config));
	const bool joining = session->Join(address, options.character[0]);
	KeepStatus();
	return joining;
}

void NetPlay::Leave() {
	if (session) {
		session->Leave();
		KeepStatus();
	}
}

void NetPlay::Service() {
	if (!session) {
		return;
	}
	session->Update();
	session->Flush();
	KeepStatus();
	if (session->GetState() == NET_SESSION_ENDED && session->IsClosed()) {
		session.reset();
	}
}

void NetPlay::Drop() {
	if (session) {
		KeepStatus();
		session.reset();
	}
}

void NetPlay::Drop(const char *words) {
	session.reset();
	score[0] = score[1] = -1;
	snprintf(status, sizeof(status), "%s", words);
}

bool NetPlay::IsBusy() const {
	return session && (session->GetState() == NET_SESSION_WAITING || session->GetState() == NET_SESSION_CONNECTING);
}

void NetPlay::KeepStatus() {
	snprintf(status, sizeof(status), "%s", session->GetStatusText());
}

const char *NetPlay::GetStatusText() const {
	const char *words = session ? session->GetStatusText() : status;
	if (score[0] < 0) {
		return words;
	}
	snprintf(shown, sizeof(shown), "%s - the score was %d:%d", words, score[0], score[1]);
	return shown;
}

OptionsRecord NetPlay::MatchOptions(const OptionsRecord &own, const NetWelcome &welcome, int side) {
	OptionsRecord options = own;
	options.matchLength = welcome.matchLength;
	options.shootTime = welcome.shootTime;
	options.daytime = welcome.daytime;
	options.arena = welcome.arena;
	options.character[0] = welcome.character[0];
	options.character[1] = welcome.character[1];
	options.mode = MODE_PL1_VS_PL2;
	if (side == 2) {
		memcpy(options.keys2, own.keys1, sizeof(options.keys2));
		memcpy(options.keyChars2, own.keyChars1, sizeof(options.keyChars2));
	}
	return options;
}
