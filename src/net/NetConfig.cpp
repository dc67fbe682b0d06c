#include "net/NetConfig.h"

#include <unistd.h>

#include <cstdio>

#ifndef TAVRO_VERSION
#define TAVRO_VERSION "0"
#endif

NetConfig::NetConfig()
	: port(NET_DEFAULT_PORT), discoveryPort(NET_DISCOVERY_PORT), connectTimeout(5000), silenceTimeout(10000),
	  keepAliveInterval(1000), snapshotInterval(40), enetTimeout(10000), protocolVersion(NET_PROTOCOL_VERSION),
	  version(), name() {
	snprintf(version, sizeof(version), "%s", TAVRO_VERSION);
	char machine[256] = "";
	if (gethostname(machine, sizeof(machine) - 1) != 0 || !machine[0]) {
		snprintf(machine, sizeof(machine), "tavro");
	}
	// Only printable ASCII goes on the wire.
	int n = 0;
	for (int i = 0; machine[i] && n < NET_NAME_SIZE - 1; i++) {
		if (machine[i] >= 0x20 && machine[i] <= 0x7E) {
			name[n++] = machine[i];
		}
	}
	name[n] = '\0';
}
