// Network play on this machine's loopback: a host and a joiner in one process exchange a match's
// traffic for a few seconds of real time at 60 frames a second (snapshots at the session's 25 a
// second, both aims every frame, a hit event twice a second, a turn with its shot and rest report
// every 5 s), and the figures are printed: bytes per second each way (ENet's UDP payload, and
// with the IPv4 and UDP headers), each side's added cost per frame, the codec's cost per frame,
// and the time from a snapshot's sending to the joiner having it, plus the interpolation delay.

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/Clock.h"
#include "net/NetDecoder.h"
#include "net/NetEncoder.h"
#include "net/NetSession.h"

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

} // namespace

int main() {
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
			NetEvent hit = {NET_EVENT_HIT, 0, 0, {0, 0}, 1, 3.0f, 4.0f, 25.0f};
			host.SendEvent(hit);
		}
		if (frame % 300 == 299) {
			NetEvent turn = {NET_EVENT_TURN, 2, static_cast<uint16_t>(2 + frame / 300), {0, 0}, 0, 0, 0, 0};
			host.SendEvent(turn);
			host.SendRest(NetRest{static_cast<uint16_t>(1 + frame / 300), {{1, 2}, {3, 4}, {5, 6}}});
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
