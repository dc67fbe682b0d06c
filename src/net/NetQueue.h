#ifndef TAVRO_NET_NETQUEUE_H
#define TAVRO_NET_NETQUEUE_H

// Received messages waiting for the match to take them, first in first out, in room fixed at
// construction: a frame never allocates for them.
template <typename T, int CAPACITY>
class NetQueue {
public:
	NetQueue() : items(), first(0), count(0) {}

	// False when full (the match stopped taking them); the item is then dropped.
	bool Push(const T &item) {
		if (count == CAPACITY) {
			return false;
		}
		items[(first + count) % CAPACITY] = item;
		count++;
		return true;
	}
	bool Take(T &out) {
		if (count == 0) {
			return false;
		}
		out = items[first];
		first = (first + 1) % CAPACITY;
		count--;
		return true;
	}
	// The first item, still queued; null when there is none.
	const T *Front() const { return count > 0 ? &items[first] : nullptr; }
	void Clear() { first = count = 0; }
	int GetCount() const { return count; }

private:
	T items[CAPACITY];
	int first;
	int count;
};

#endif
