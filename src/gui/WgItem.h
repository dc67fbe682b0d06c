#ifndef TAVRO_GUI_WGITEM_H
#define TAVRO_GUI_WGITEM_H

#include <string>
#include <vector>

#include "gl2d/GL2D_Rect.h"

class GL2D_CacheManager;
class WgItem;
class WgManager;
class WgNode;
struct NI_Event;

// Event slots; activate and click are one slot under two names.
enum WgEventSlot {
	GI_ON_FOCUS = 1,
	GI_ON_ACTIVATE = 2,
	GI_ON_CLICK = 2,
	GI_ON_DEACTIVATE = 3,
	GI_ON_UNFOCUS = 4
};

// What GetStatus returns; the widgets widen the meaning, and their looks are indexed by it.
enum WgItemState {
	GI_ISTATE_DEFAULT = 0,
	GI_ISTATE_DISABLED = 1,
	GI_ISTATE_FOCUSED = 2,
	GI_ISTATE_HIGHLIGHTED = 3,
	GI_MAX_STATES = 5
};

enum WgItemType {
	WG_TYPE_ITEM = 0,
	WG_TYPE_LABEL = 1,
	WG_TYPE_EDITBOX = 2,
	WG_TYPE_LISTBOX = 3,
	WG_TYPE_WINDOW = 4,
	WG_TYPE_BUTTON = 5,
	WG_TYPE_CHECKBOX = 6
};

// A program handler of an event slot, called with the item that fired and the context given
// with it.
typedef void (*WgCallback)(WgItem *item, void *context);

// What every widget is: a named rectangle with a caption, focus and highlight flags, event
// handlers and scripts, placed relative to its parent item in a manager's trees.
class WgItem {
public:
	static constexpr int NAME_SIZE = 50; // characters, terminator included
	static constexpr int CAPTION_LINES = 30;
	static constexpr int LINE_SIZE = 255;        // characters of a caption line, terminator included
	static constexpr int SCRIPT_NAME_SIZE = 256; // characters of a script file name, terminator included
	static constexpr int CLASS_NAME_SIZE = 32;
	static constexpr int SLOT_COUNT = 10;
	static constexpr int MAX_COORD = 1 << 20; // pixels either way; sums of nested positions stay in range
	static constexpr int MAX_SIZE = 4096;     // pixels; a frame's pieces are walked, so drawing stays quick

	explicit WgItem(const char *name);
	virtual ~WgItem();
	WgItem(const WgItem &) = delete;
	WgItem &operator=(const WgItem &) = delete;

	virtual WgNode *GetFocusNode() const { return focusNode; }
	// Makes the item's node in a focus tree under parent.
	virtual WgNode *CreateFocusNode(WgNode *parent);
	virtual int GetStatus() const;
	// click: the focus comes from a mouse click.
	virtual void Focus(bool click = false);
	virtual void Unfocus();
	virtual void HighLight();
	virtual void UnhighLight();
	// The item's own reaction to a key; only the focused item gets keys.
	virtual void SetInputEvent(const NI_Event *event);
	// Whether the focused item wants the Tab key for itself.
	virtual bool IsThisYourEventKeyboard(const NI_Event *event) const;
	// Whether the mouse of the event lies on the item placed at absolute (x, y); records the
	// grab offset when it does.
	virtual bool IsThisYourEventMouse(int x, int y, const NI_Event *event);
	// (x, y): the parent's absolute origin.
	virtual void Draw(int x, int y, int frameTime);
	// The clip for the item's children, absolute.
	virtual void GetInternalClip(int *clipX, int *clipY, int *clipW, int *clipH) const;
	// A picture, font or cache manager is going away: drop every pointer to it.
	virtual void ForgetObject(const void *object);

	// Slots outside 0 to SLOT_COUNT - 1 and null file names are ignored; longer names are cut.
	void SetCallback(int slot, WgCallback function, void *context = nullptr);
	void SetCallbackLUA(int slot, const char *file);
	const char *GetCallbackLUA(int slot) const;
	// Program handler first, then the script.
	void FireEvent(int slot);
	// Runs a script with Me = this item; false on a null name or a failed run.
	bool ExecuteLua(const char *file);

	bool IsOnDragRect(int mouseX, int mouseY, const NI_Event *event) const;
	void SetDragRect(int dragX, int dragY, int dragW, int dragH);
	void SetDraggable(bool on) { draggable = on; }
	bool IsDraggable() const { return draggable; }

	void SetParentClip(int clipX, int clipY, int clipW, int clipH);
	void SetCoords(int newX, int newY);
	void GetCoords(int *outX, int *outY) const;
	void SetDim(int newW, int newH);
	void GetDim(int *outW, int *outH) const;
	int GetX() const { return x; }
	int GetY() const { return y; }
	int GetW() const { return w; }
	int GetH() const { return h; }
	void SetZOrder(int z) { zOrder = z; }
	int GetZOrder() const { return zOrder; }

	// Longer names are cut to NAME_SIZE - 1 characters.
	void SetName(const char *newName);
	void GetName(char *buffer, int size) const;
	const char *GetName() const { return name; }
	// Split at line feeds (runs of them make no empty lines); at most CAPTION_LINES lines of at
	// most LINE_SIZE - 1 characters. Null changes nothing; "" leaves one empty line.
	void SetCaption(const char *text);
	// The lines, each followed by a line feed; cut to fit the buffer.
	void GetCaption(char *buffer, int size) const;
	std::string GetCaption() const;
	int GetLineCount() const { return lineCount; }
	const char *GetLine(int index) const;

	void Enable() { enabled = true; }
	void Disable() { enabled = false; }
	bool IsEnabled() const { return enabled; }
	bool IsFocused() const { return focused; }
	bool IsHighLighted() const { return highlighted; }
	void ReceiveFocus(bool on) { canReceiveFocus = on; }
	// Scripts may pass a flag; it is ignored.
	bool CanReceiveFocus(bool = false) const { return canReceiveFocus; }
	// Whether moving the mouse off the item takes its focus away (hover focus).
	void LoseFocus(bool on) { canLoseFocus = on; }
	bool CanLoseFocus() const { return canLoseFocus; }
	void SetVisible(bool on) { visible = on; }
	bool IsVisible() const { return visible; }
	bool IsContainer() const { return container; }
	int GetType() const { return type; }
	// The class the item's scripts see it as ("WgItem" for the plain widgets).
	const char *GetClassName() const { return className; }

	// Not owned; handed to ExecuteLua scripts. The toolkit loads nothing through it.
	void SetCacheManager(GL2D_CacheManager *cache) { cacheManager = cache; }
	GL2D_CacheManager *GetCacheManager() const { return cacheManager; }

	WgNode *GetTreeNode() const { return treeNode; }
	// The manager holding the item; null when it is in none.
	WgManager *GetManager() const { return manager; }
	// The widget this item is a part of (an inner label, a list box button); null for most.
	// Set by the widget that makes and deletes the part.
	void SetPartOf(WgItem *widget) { partOf = widget; }
	WgItem *GetPartOf() const { return partOf; }
	void GetDrawOrigin(int *outX, int *outY) const;
	void GetGrabOffset(int *outX, int *outY) const;

	// Whether a handler or script started by an item is running; nothing may delete items then.
	static bool IsDispatching() { return dispatchDepth > 0; }
	// Every live item drops its pointers to the object.
	static void ForgetEverywhere(const void *object);
	// Copies at most size - 1 characters and always terminates; null copies "".
	static void CopyText(char *to, int size, const char *from);

	// Counts a running dispatch for as long as it lives.
	class DispatchScope {
	public:
		DispatchScope() { dispatchDepth++; }
		~DispatchScope() { dispatchDepth--; }
		DispatchScope(const DispatchScope &) = delete;
		DispatchScope &operator=(const DispatchScope &) = delete;
	};

protected:
	void SetType(int newType) { type = newType; }
	void SetContainer(bool on) { container = on; }
	void SetClassName(const char *newName);
	GL2D_Rect ParentClipRect() const;
	// The look of a state: the index for a per-state table.
	static int StateIndex(int status) { return status >= 0 && status < GI_MAX_STATES ? status : 0; }

	int x, y;                                               // pixels, relative to the parent item
	int w, h;                                               // pixels
	int parentClipX, parentClipY, parentClipW, parentClipH; // absolute, from the draw walk
	int drawOriginX, drawOriginY;                           // absolute origin of the parent, from the last Draw
	int grabX, grabY;                                       // pixels, mouse minus item position at the last hit
	bool focused;
	bool highlighted;

private:
	friend class WgManager;

	struct Handler {
		WgCallback function;
		void *context;
	};

	// Line i of the caption, made on first use; its storage is kept for the next caption.
	std::string &CaptionLine(int index);

	char name[NAME_SIZE];
	// The caption's lines are the first lineCount; the rest keep their storage, so captions set
	// again on every frame allocate nothing. A widget holds no more than it shows.
	std::vector<std::string> lines;
	int lineCount;
	bool enabled;
	bool canReceiveFocus;
	bool canLoseFocus;
	bool visible;
	bool container;
	int type; // WgItemType
	Handler handlers[SLOT_COUNT];
	std::string scripts[SLOT_COUNT]; // empty for none
	int zOrder;
	int dragX, dragY, dragW, dragH; // relative to the item's position
	bool draggable;
	char className[CLASS_NAME_SIZE];
	GL2D_CacheManager *cacheManager;
	WgNode *focusNode; // owned by the manager
	WgNode *treeNode;  // owned by the manager
	WgManager *manager;
	int managerIndex; // in the manager's item list
	WgItem *partOf;

	// Every live item, so objects going away can be forgotten everywhere.
	WgItem *prevLive;
	WgItem *nextLive;
	static WgItem *firstLive;
	static int dispatchDepth;
};

#endif
