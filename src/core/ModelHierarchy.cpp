#include "core/ModelHierarchy.h"

#include <cstdint>

#include "core/DataFileName.h"

namespace {

// The reader's ids are shorts: its running count wraps as it does there.
int AsShort(int value) {
	return static_cast<int16_t>(static_cast<uint16_t>(value));
}

} // namespace

ModelHierarchy::ModelHierarchy() : structureId(-1), nextId(0), dummyCount(0), lastCreated(-1) {}

void ModelHierarchy::Clear() {
	nodes.clear();
	structureId = -1;
	nextId = 0;
	dummyCount = 0;
	lastCreated = -1;
}

void ModelHierarchy::AddObject(const std::string &name) {
	nodes.push_back(Node{name, -1, NO_PARENT});
}

void ModelHierarchy::RenameLastCreated(const std::string &name) {
	if (lastCreated >= 0) {
		nodes[lastCreated].name = name;
	}
}

int ModelHierarchy::Find(const std::string &name) const {
	for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; i--) {
		if (nodes[i].name == name) {
			return i;
		}
	}
	return -1;
}

int ModelHierarchy::Find(int id) const {
	for (int i = static_cast<int>(nodes.size()) - 1; i >= 0; i--) {
		if (nodes[i].id == id) {
			return i;
		}
	}
	return -1;
}

bool ModelHierarchy::Place(const std::string &entryName, int parentId, std::string &problem) {
	const std::string name = entryName == "$$$DUMMY" ? entryName + "_" + std::to_string(dummyCount++) : entryName;
	int node = Find(name);
	if (node < 0) {
		AddObject(name);
		node = lastCreated = static_cast<int>(nodes.size()) - 1;
	}
	if (structureId >= 0) {
		nodes[node].id = structureId;
		structureId = -1;
	} else {
		nodes[node].id = nextId;
		nextId = AsShort(nextId + 1);
	}
	const std::string shown = "object \"" + PrintableText(name.c_str(), MAX_DATA_FILE_NAME) + "\"";
	if (nodes[node].parent != NO_PARENT) {
		problem = shown + " placed in the hierarchy twice";
		return false;
	}
	if (parentId == -1) {
		nodes[node].parent = TOP;
		return true;
	}
	const int parent = Find(parentId);
	if (parent < 0) {
		problem = shown + " has no parent " + std::to_string(parentId);
		return false;
	}
	for (int above = parent; above >= 0; above = nodes[above].parent) {
		if (above == node) {
			problem = shown + " placed below itself";
			return false;
		}
	}
	nodes[node].parent = parent;
	return true;
}
