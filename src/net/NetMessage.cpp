#include "net/NetMessage.h"

const char *NetMessageName(int type) {
	static const char *const names[NET_MSG_TYPE_COUNT] = {"unknown", "hello", "welcome", "refusal", "bye", "keep-alive",
		"aim", "fire", "snapshot", "event", "rest", "query", "answer"};
	return type > 0 && type < NET_MSG_TYPE_COUNT ? names[type] : names[0];
}
