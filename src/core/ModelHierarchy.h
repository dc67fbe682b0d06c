#ifndef TAVRO_CORE_MODELHIERARCHY_H
#define TAVRO_CORE_MODELHIERARCHY_H

#include <string>
#include <vector>

// The objects of a 3DS model as the scene-graph library's reader keeps them to build the
// model's hierarchy: found by name or by id (the newest first, as its list is kept), ids given
// as its keyframer chunks give them. It tells where the reader would hang an object twice or
// below itself, which makes the scene a loop that every later walk follows for ever.
class ModelHierarchy {
public:
	ModelHierarchy();

	void Clear();
	// An object block of the mesh part, not yet placed.
	void AddObject(const std::string &name);
	// The id the next entry takes (the reader ignores negative ones).
	void SetNextId(int id) { structureId = id; }
	// A hierarchy entry: the object of that name (a new one when there is none, or for each
	// "$$$DUMMY") goes below the object with parentId (-1: the top). False, with the reason,
	// where the reader would build a loop or find no parent.
	bool Place(const std::string &name, int parentId, std::string &problem);
	// A dummy's name chunk: renames the object the last entry created, if any.
	void RenameLastCreated(const std::string &name);

private:
	static constexpr int NO_PARENT = -2;
	static constexpr int TOP = -1;

	struct Node {
		std::string name;
		int id;
		int parent; // NO_PARENT, TOP or the index of the parent node
	};

	int Find(const std::string &name) const;
	int Find(int id) const;

	std::vector<Node> nodes;
	int structureId; // the id given to the next entry; negative for none
	int nextId;      // of an entry without one
	int dummyCount;
	int lastCreated; // the node a dummy name renames; -1 for none
};

#endif
