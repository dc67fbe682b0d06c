// Network play on this machine's loopback, in two parts.
// "traffic": a host and a joiner session in one process exchange a match's traffic for a few
// seconds of real time at 60 frames a second (snapshots at the session's 25 a second, both aims
// every frame, a hit event twice a second, a turn with its shot and rest report every 5 s), and
// the figures are printed: bytes per second each way (ENet's UDP payload, and with the IPv4 and
// UDP headers), each side's added cost per frame, the codec's cost per frame, and the time from
// a snapshot's sending to the joiner having it, plus the interpolation delay.
// "match": a real network match, the host's NetHostMatch and the joiner's NetJoinMatch in one
// process at 60 frames a second of real time, without drawing, both players steering and firing
// with player 1's keys, beside a plain match of the same options and seed run frame for frame:
// the host's frame against the plain one's (processor time, each first after the wait every
// other frame) is the host's added cost; bytes per second each way;
// the delay from a snapshot's sending to the joiner's frame showing its moment.
// Run under Xvfb from the build directory (the match loads the game's data):
//   xvfb-run -a -s "-screen 0 1024x768x24" bench/bench_net [traffic|match]

#include <chrono>
#include <cstring>
#include <ctime>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "MatchRig.h"
#include "core/Clock.h"
#include "core/FrameTimer.h"
#include "match/InGame.h"
#include "match/NetHostMatch.h"
#include "match/NetJoinMatch.h"
#include "match/NetPlay.h"
#include "net/NetDecoder.h"
#include "net/NetEncoder.h"
#include "net/NetSession.h"
#include "world/Disc.h"

namespace {

using Steady = std::chrono::steady_clock;

const int FPS = 60;
const int SECONDS = 5;
const int IP_UDP_HEADERS = 28; // bytes per datagram

double Micros(Steady::duration d) {
	return std::chrono::duration<double, std::micro>(d).count();
}

NetSnapshot Snapshot(int frame) {
	NetSnapshot s = {};
	s.phase = 4;
	s.period = 1;
	s.periodLeft = 100000 - frame * 16;
	s.turn = static_cast<uint16_t>(1 + frame / 300);
	s.side = static_cast<uint8_t>(1 + (frame / 300) % 2);
	s.turnLeft = 3000;
	for (int i = 0; i < NET_BODY_COUNT; i++) {
		s.bodies[i] = {-30.0f + i * 20.0f + frame * 0.01f, 5.0f - i, 12.5f, -3.0f};
	}
	return s;
}

// The codec's work for one frame of one side: an aim written and read, and 25/60 of a snapshot.
void CodecCost() {
	NetMessage aim(NET_MSG_AIM);
	aim.aim = {1, 3, 2, 20.0f, -10.0f};
	NetMessage snapshot(NET_MSG_SNAPSHOT);
	snapshot.snapshot = Snapshot(10);
	uint8_t bytes[NET_MAX_MESSAGE];
	NetMessage read;
	const int rounds = 200000;
	double perMessage[2] = {0, 0};
	const NetMessage *messages[2] = {&aim, &snapshot};
	for (int m = 0; m < 2; m++) {
		NetMessage message = *messages[m];
		NetDecoder decoder(NET_PROTOCOL_VERSION);
		const Steady::time_point start = Steady::now();
		for (int i = 1; i <= rounds; i++) {
			message.aim.sequence = message.snapshot.sequence = static_cast<uint32_t>(i);
			const size_t size = NetEncoder::Encode(message, bytes, sizeof(bytes));
			if (!decoder.Decode(bytes, size, read)) {
				printf("codec refused its own message\n");
				return;
			}
		}
		perMessage[m] = Micros(Steady::now() - start) / rounds;
	}
	printf("codec: aim %.3f us, snapshot %.3f us (written and read); a frame of one side %.3f us\n", perMessage[0],
		perMessage[1], perMessage[0] + perMessage[1] * 25.0 / FPS);
}

int Traffic() {
	CodecCost();

	MonotonicClock clock;
	NetConfig config;
	config.port = 0;
	config.discoveryPort = -1;
	NetSession host(clock, config);
	NetWelcome options = {2, 5, 0, 0, 77u, {0, 1}};
	if (!host.Host(options)) {
		printf("cannot host: %s\n", host.GetStatusText());
		return 1;
	}
	NetSession joiner(clock, config);
	joiner.Join(("127.0.0.1:" + std::to_string(host.GetTransport().GetPort())).c_str(), 1);
	const Steady::time_point deadline = Steady::now() + std::chrono::seconds(2);
	while (!(host.GetState() == NET_SESSION_IN_MATCH && joiner.GetState() == NET_SESSION_IN_MATCH)) {
		if (Steady::now() > deadline) {
			printf("no match: %s / %s\n", host.GetStatusText(), joiner.GetStatusText());
			return 1;
		}
		host.Update();
		host.Flush();
		joiner.Update();
		joiner.Flush();
		std::this_thread::sleep_for(std::chrono::milliseconds(1));
	}

	const uint32_t hostSent0 = host.GetTransport().GetBytesSent();
	const uint32_t hostPackets0 = host.GetTransport().GetPacketsSent();
	const uint32_t joinerSent0 = joiner.GetTransport().GetBytesSent();
	const uint32_t joinerPackets0 = joiner.GetTransport().GetPacketsSent();
	Steady::duration hostTime{}, joinerTime{};
	std::vector<double> trips; // us
	Steady::time_point sentAt[4096];
	uint32_t seen = 0;
	int snapshots = 0;
	const int frames = FPS * SECONDS;
	const Steady::time_point begin = Steady::now();
	for (int frame = 0; frame < frames; frame++) {
		Steady::time_point t = Steady::now();
		host.Update();
		NetFire fire;
		while (host.TakeFire(fire)) {
		}
		host.SendAim(static_cast<uint16_t>(1 + frame / 300), 10.0f, frame * 0.001f);
		if (frame % 30 == 0) {
			NetEvent hit = {NET_EVENT_HIT, 0, 0, 0, {0, 0}, 1, 3.0f, 4.0f, 25.0f};
			host.SendEvent(hit);
		}
		if (frame % 300 == 299) {
			NetEvent turn = {NET_EVENT_TURN, 0, 2, static_cast<uint16_t>(2 + frame / 300), {0, 0}, 0, 0, 0, 0};
			host.SendEvent(turn);
			host.SendRest(NetRest{static_cast<uint16_t>(1 + frame / 300), 0, {{1, 2}, {3, 4}, {5, 6}}});
		}
		const bool due = host.IsSnapshotDue();
		if (due) {
			host.SendSnapshot(Snapshot(frame));
			snapshots++;
		}
		host.Flush();
		const Steady::time_point flushed = Steady::now();
		hostTime += flushed - t;
		if (due && snapshots < 4096) {
			sentAt[snapshots] = flushed;
		}

		t = Steady::now();
		joiner.Update();
		if (joiner.GetSnapshots().GetCount() > 0) {
			const uint32_t newest = joiner.GetSnapshots().GetNewest().sequence;
			if (newest != seen && newest < 4096) {
				trips.push_back(Micros(Steady::now() - sentAt[newest]));
				seen = newest;
			}
		}
		NetEvent event;
		while (joiner.TakeEvent(event)) {
		}
		NetRest rest;
		while (joiner.TakeRest(rest)) {
		}
		NetBody bodies[NET_BODY_COUNT];
		joiner.SampleBodies(bodies);
		joiner.SendAim(static_cast<uint16_t>(1 + frame / 300), -5.0f, frame * 0.001f);
		if (frame % 300 == 150) {
			joiner.SendFire(static_cast<uint16_t>(1 + frame / 300), -5.0f, 1.0f);
		}
		joiner.Flush();
		joinerTime += Steady::now() - t;
		std::this_thread::sleep_until(begin + std::chrono::microseconds(1000000LL * (frame + 1) / FPS));
	}
	const double seconds = std::chrono::duration<double>(Steady::now() - begin).count();

	const double hostBytes = host.GetTransport().GetBytesSent() - hostSent0;
	const double hostPackets = host.GetTransport().GetPacketsSent() - hostPackets0;
	const double joinerBytes = joiner.GetTransport().GetBytesSent() - joinerSent0;
	const double joinerPackets = joiner.GetTransport().GetPacketsSent() - joinerPackets0;
	printf("traffic over %.2f s at %d frames a second, %d snapshots (%.1f a second)\n", seconds, FPS, snapshots,
		snapshots / seconds);
	printf("host to joiner: %.0f bytes/s of UDP payload, %.0f bytes/s with IP and UDP headers, %.0f datagrams/s\n",
		hostBytes / seconds, (hostBytes + hostPackets * IP_UDP_HEADERS) / seconds, hostPackets / seconds);
	printf("joiner to host: %.0f bytes/s of UDP payload, %.0f bytes/s with IP and UDP headers, %.0f datagrams/s\n",
		joinerBytes / seconds, (joinerBytes + joinerPackets * IP_UDP_HEADERS) / seconds, joinerPackets / seconds);
	printf("added cost per frame: host %.1f us, joiner %.1f us (network service, messages, flush)\n",
		Micros(hostTime) / frames, Micros(joinerTime) / frames);
	double sum = 0, worst = 0;
	for (double trip : trips) {
		sum += trip;
		worst = trip > worst ? trip : worst;
	}
	if (!trips.empty()) {
		printf("snapshot sent to joiner holding it: %.1f us on average, %.1f us at worst (%zu snapshots); "
			   "shown %d ms later by the interpolation, then at the next drawn frame\n",
			sum / trips.size(), worst, trips.size(), SnapshotInterpolator::DELAY);
	}
	printf("received: snapshots %d of %d, the joiner's aims %d of %d, the host's aims %d of %d\n",
		joiner.GetLink().GetReceived(NET_MSG_SNAPSHOT), snapshots, host.GetLink().GetReceived(NET_MSG_AIM), frames,
		joiner.GetLink().GetReceived(NET_MSG_AIM), frames);
	printf("refused: host %d, joiner %d\n", host.GetLink().GetDecoder().GetRefusedCount(),
		joiner.GetLink().GetDecoder().GetRefusedCount());
	joiner.Leave();
	return 0;
}

uint8_t g_keys[SDLK_LAST]; // what the input library polls

// The thread's processor time in microseconds: other programs on the machine do not count.
double CpuMicros() {
	timespec t;
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
	return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// Player 1's keys for a frame, read by whichever side's turn it is: the aim swings right, up,
// left and down, and fires every 1.5 s.
void Steer(int frame) {
	memset(g_keys, 0, sizeof(g_keys));
	static const int swing[4] = {KEY_RIGHT, KEY_UP, KEY_LEFT, KEY_DOWN};
	g_keys[g_options.keys1[swing[frame / 20 % 4]]] = 1;
	g_keys[g_options.keys1[KEY_FIRE]] = frame % 90 == 89;
}

int Match() {
	MatchRig rig("bench_net.log", 640, 480);
	if (!rig.IsReady()) {
		return 1;
	}
	rig.GetInput().SetKeyStateSource(g_keys, SDLK_LAST);
	g_options.mode = MODE_PL1_VS_PL2;
	g_options.shootTime = 2;
	g_options.guide = 0;
	g_options.replay = 0;
	// Each match its own frame timer on the one clock, as in a process of its own.
	MonotonicClock clock;
	FrameTimer hostTimer(&clock), joinTimer(&clock), plainTimer(&clock);
	g_timer = &hostTimer;
	NetPlay hostNet, joinNet;
	hostNet.GetConfig().discoveryPort = joinNet.GetConfig().discoveryPort = -1;
	hostNet.SetSeed(4242);
	if (!hostNet.Host(g_options, 0)) {
		printf("cannot host: %s\n", hostNet.GetStatusText());
		return 1;
	}
	joinNet.Join(("127.0.0.1:" + std::to_string(hostNet.GetSession()->GetTransport().GetPort())).c_str(), g_options);
	for (int i = 0; i < 2000 && !(hostNet.IsInMatch() && joinNet.IsInMatch()); i++) {
		hostNet.Service();
		joinNet.Service();
		std::this_thread::sleep_for(std::chrono::milliseconds(1));
	}
	NetHostMatch host(hostNet);
	NetJoinMatch joiner(joinNet);
	InGame plain;
	host.GetGame().SetDrawing(false);
	joiner.SetDrawing(false);
	plain.SetDrawing(false);
	// Both sides on player 1's keys, as the two machines steer them.
	plain.SetMatchOptions(NetPlay::MatchOptions(g_options, hostNet.GetSession()->GetOptions(), 2));
	plain.SetSeed(hostNet.GetSession()->GetOptions().seed);
	bool ready = host.Enter();
	g_timer = &joinTimer;
	ready = joiner.Enter() && ready;
	g_timer = &plainTimer;
	if (!ready || !plain.Init()) {
		printf("match set-up failed; run from the build directory\n");
		return 1;
	}
	const NetTransport &hostWire = hostNet.GetSession()->GetTransport();
	const NetTransport &joinWire = joinNet.GetSession()->GetTransport();
	const uint32_t hostSent0 = hostWire.GetBytesSent(), hostPackets0 = hostWire.GetPacketsSent();
	const uint32_t joinSent0 = joinWire.GetBytesSent(), joinPackets0 = joinWire.GetPacketsSent();
	double hostTime = 0, joinTime = 0, plainTime = 0; // us of processor time
	double shownDelay = 0, worstDelay = 0;
	int frames = 0, shownFrames = 0;
	const Steady::time_point begin = Steady::now();
	for (; frames < FPS * 25; frames++) {
		Steer(frames);
		// The first frame after the wait finds the caches cold: the host and the plain match
		// take turns at it.
		auto runPlain = [&] {
			g_timer = &plainTimer;
			const double t = CpuMicros();
			plain.Frame();
			plainTime += CpuMicros() - t;
		};
		if (frames % 2) {
			runPlain();
		}
		g_timer = &hostTimer;
		double t = CpuMicros();
		const bool going = host.Frame();
		hostTime += CpuMicros() - t;
		if (frames % 2 == 0) {
			runPlain();
		}
		g_timer = &joinTimer;
		t = CpuMicros();
		joiner.Frame();
		joinTime += CpuMicros() - t;
		uint32_t shown = 0;
		if (joinNet.GetSession() && joinNet.GetSession()->GetShownTime(shown)) {
			const double delay = static_cast<int32_t>(joinNet.GetClock().Milliseconds() - shown);
			shownDelay += delay;
			worstDelay = delay > worstDelay ? delay : worstDelay;
			shownFrames++;
		}
		if (!going) {
			break;
		}
		std::this_thread::sleep_until(begin + std::chrono::microseconds(1000000LL * (frames + 1) / FPS));
	}
	const double seconds = std::chrono::duration<double>(Steady::now() - begin).count();
	const double hostBytes = hostWire.GetBytesSent() - hostSent0,
				 hostPackets = hostWire.GetPacketsSent() - hostPackets0;
	const double joinBytes = joinWire.GetBytesSent() - joinSent0,
				 joinPackets = joinWire.GetPacketsSent() - joinPackets0;
	printf("a real match over %.1f s, %d frames at %d a second, turn %d reached, score %d:%d\n", seconds, frames, FPS,
		host.GetTurn(), host.GetGame().GetWorld().GetDisc(1)->GetGoals(),
		host.GetGame().GetWorld().GetDisc(2)->GetGoals());
	printf("host to joiner: %.0f bytes/s of UDP payload, %.0f bytes/s with IP and UDP headers (aim: under 8 KB/s)\n",
		hostBytes / seconds, (hostBytes + hostPackets * IP_UDP_HEADERS) / seconds);
	printf("joiner to host: %.0f bytes/s of UDP payload, %.0f bytes/s with IP and UDP headers\n", joinBytes / seconds,
		(joinBytes + joinPackets * IP_UDP_HEADERS) / seconds);
	const double hostUs = hostTime / frames, plainUs = plainTime / frames;
	printf("processor time of the host's frame %.1f us against %.1f us for the same match unnetworked: %.1f us added "
		   "(aim: under 100 us); the joiner's frame %.1f us (no drawing in any)\n",
		hostUs, plainUs, hostUs - plainUs, joinTime / frames);
	if (shownFrames > 0) {
		printf("snapshot to the joiner's frame showing its moment: %.1f ms on average, %.1f ms at worst "
			   "(the playback's %d ms and the trip)\n",
			shownDelay / shownFrames, worstDelay, SnapshotInterpolator::DELAY);
	}
	plain.Deinit();
	joiner.Leave();
	host.Leave();
	g_timer = nullptr;
	memset(g_keys, 0, sizeof(g_keys));
	return 0;
}

} // namespace

int main(int argc, char **argv) {
	const std::string only = argc > 1 ? argv[1] : "";
	setvbuf(stdout, nullptr, _IOLBF, 0);
	int result = 0;
	if (only.empty() || only == "traffic") {
		result = Traffic();
	}
	if (only.empty() || only == "match") {
		result = Match() || result;
	}
	return result;
}
