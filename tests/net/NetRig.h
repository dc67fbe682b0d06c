#ifndef TAVRO_TESTS_NETRIG_H
#define TAVRO_TESTS_NETRIG_H

#include <functional>
#include <memory>
#include <vector>

#include "core/Clock.h"
#include "net/NetConfig.h"
#include "net/NetDatagramSocket.h"
#include "net/NetSession.h"

// Sessions of one test on 127.0.0.1, on any free ports, all on one clock the test moves. Each
// round services every session (and the relay) and flushes what they queued; loopback delivers
// at once, so a round or two carries a message across.
class NetRig {
public:
	NetRig() : clock(100000) {}

	// Quick settings: any free ports, the discovery off unless asked for.
	static NetConfig Config(bool discovery = false);
	NetSession &AddHost(const NetConfig &config = Config());
	// A joiner of host, character 2, unless another address is given.
	NetSession &AddJoiner(const NetSession &host, const NetConfig &config = Config(), int character = 2);
	NetSession &AddJoinerTo(const char *address, const NetConfig &config = Config(), int character = 2);

	// One round over every session but those in skip; the clock moves by ms first.
	void Round(uint32_t ms = 10, const std::vector<const NetSession *> &skip = {});
	// Rounds until done() or a limit (a failure then); the clock moves by ms each round.
	bool RunUntil(const std::function<bool()> &done, uint32_t ms = 10, int limit = 500);

	ManualClock clock;
	std::vector<std::unique_ptr<NetSession>> sessions;
	class UdpRelay *relay = nullptr; // pumped each round when set
};

// A UDP relay between a joiner and a host: the joiner connects to its port; it forwards each
// datagram, remembers the ones from the joiner, and can send the host anything from the
// joiner's address as the host sees it.
class UdpRelay {
public:
	bool Open(int hostPort);
	int GetPort() const { return front.GetPort(); }
	// Forwards what waits either way.
	void Pump();
	// Sends bytes to the host from the address it knows the joiner by.
	void SendToHost(const std::vector<uint8_t> &bytes);

	std::vector<std::vector<uint8_t>> fromJoiner; // every datagram, in order

private:
	NetDatagramSocket front; // the joiner's side
	NetDatagramSocket back;  // the host's side
	NetEndpoint host;
	NetEndpoint joiner;
	bool joinerKnown = false;
};

#endif
