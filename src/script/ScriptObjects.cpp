#include "script/ScriptObjects.h"

#include <lua.h>

#include <unordered_map>
#include <vector>

#include "gl2d/GL2D_Font.h"
#include "gui/WgItem.h"
#include "script/ScriptState.h"

namespace {

typedef std::unordered_map<const void *, int> CountMap;
typedef std::unordered_map<GL2D_Font *, int> FontMap;

// Process-wide: objects move between Lua states (a widget made in a screen's state is Me in an
// event's state), so what is known about them cannot live in one state.
CountMap &Protected() {
	static CountMap objects;
	return objects;
}

FontMap &Fonts() {
	static FontMap fonts;
	return fonts;
}

std::unordered_map<const GL2D_CacheManager *, std::vector<const void *>> &Loans() {
	static std::unordered_map<const GL2D_CacheManager *, std::vector<const void *>> loans;
	return loans;
}

std::unordered_map<const void *, const GL2D_CacheManager *> &Lenders() {
	static std::unordered_map<const void *, const GL2D_CacheManager *> lenders;
	return lenders;
}

struct MadeObject {
	const void *state;
	void (*release)(void *);
};

std::unordered_map<void *, MadeObject> &MadeObjects() {
	static std::unordered_map<void *, MadeObject> objects;
	return objects;
}

// Made objects of a closing state, on their way out.
std::unordered_map<void *, void (*)(void *)> &Releasing() {
	static std::unordered_map<void *, void (*)(void *)> objects;
	return objects;
}

template <class Map, class Key>
void Take(Map &map, Key object) {
	auto found = map.find(object);
	if (found != map.end() && --found->second <= 0) {
		map.erase(found);
	}
}

// Fonts and pictures alike come here; only a font has an entry to lose.
void ForgetFont(const void *object) {
	Fonts().erase(static_cast<GL2D_Font *>(const_cast<void *>(object)));
}

} // namespace

void ScriptObjects::Protect(const void *object) {
	if (object) {
		Protected()[object]++;
	}
}

void ScriptObjects::Unprotect(const void *object) {
	Take(Protected(), object);
}

bool ScriptObjects::IsProtected(const void *object) {
	return Protected().count(object) != 0;
}

void ScriptObjects::Lend(const GL2D_CacheManager *cache, const void *object) {
	if (!cache || !object || IsLent(object)) {
		return;
	}
	Loans()[cache].push_back(object);
	Lenders()[object] = cache;
}

bool ScriptObjects::IsLent(const void *object) {
	return Lenders().count(object) != 0;
}

void ScriptObjects::CacheGone(const GL2D_CacheManager *cache) {
	auto found = Loans().find(cache);
	if (found != Loans().end()) {
		const std::vector<const void *> objects = std::move(found->second);
		Loans().erase(found);
		for (const void *object : objects) {
			Lenders().erase(object);
			ForgetFont(object);
			Gone(object);
		}
	}
	Gone(cache);
}

void ScriptObjects::AddFont(GL2D_Font *font) {
	if (font) {
		Fonts()[font]++;
	}
}

void ScriptObjects::RemoveFont(const GL2D_Font *font) {
	Take(Fonts(), const_cast<GL2D_Font *>(font));
}

void ScriptObjects::Gone(const void *object) {
	if (!object) {
		return;
	}
	WgItem::ForgetEverywhere(object);
	ScriptState::ObjectGone(object);
	Protected().erase(object);
	Disown(object);
}

void ScriptObjects::ToolkitObjectGone(const void *object) {
	if (!object) {
		return;
	}
	ScriptState::ObjectGone(object);
	Protected().erase(object);
	Disown(object);
}

void ScriptObjects::RectGone(const GL2D_Rect *rect) {
	for (auto &entry : Fonts()) {
		if (entry.first->GetClip() == rect) {
			entry.first->SetClip(nullptr);
		}
	}
	Gone(rect);
}

void ScriptObjects::FontGone(const GL2D_Font *font) {
	ForgetFont(font);
	Gone(font);
}

void ScriptObjects::Made(const void *state, void *object, void (*release)(void *)) {
	if (state && object && release) {
		MadeObjects()[object] = MadeObject{state, release};
	}
}

const void *ScriptObjects::StateKey(lua_State *L) {
	lua_pushvalue(L, LUA_REGISTRYINDEX);
	const void *registry = lua_topointer(L, -1);
	lua_pop(L, 1);
	return registry;
}

void ScriptObjects::Disown(const void *object) {
	MadeObjects().erase(const_cast<void *>(object));
	Releasing().erase(const_cast<void *>(object));
}

bool ScriptObjects::IsMade(const void *object) {
	return MadeObjects().count(const_cast<void *>(object)) != 0;
}

void ScriptObjects::ReleaseMade(const void *state) {
	// Set apart first, and one at a time: releasing one may delete another (a manager the
	// items it owns), which then leaves the list through Disown.
	for (auto entry = MadeObjects().begin(); entry != MadeObjects().end();) {
		if (entry->second.state == state) {
			Releasing()[entry->first] = entry->second.release;
			entry = MadeObjects().erase(entry);
		} else {
			++entry;
		}
	}
	while (!Releasing().empty()) {
		const auto next = *Releasing().begin();
		Releasing().erase(Releasing().begin());
		next.second(next.first);
	}
}
