#pragma once

#include <span>

// Every command entry of the main window as data: the main menu, the three pop-up menus and
// the two tool bars. TFrm_Main builds its actions from these tables in one place.
namespace app {

enum EntryFlag {
    Hidden = 1,
    Checkable = 2,
    Checked = 4,
    AutoCheck = 8,    // ticks and unticks itself when clicked, before its handler runs
    RadioGroup1 = 16, // list order
    RadioGroup3 = 32, // list view style
};

// depth 0 is a top-level menu, 1 an entry in it, 2 an entry in the entry's submenu above.
// caption "-" is a separator. handler "ItemClick" dispatches on the tag; nullptr means none.
struct MenuEntry {
    int depth;
    const char* caption;
    const char* name;
    int tag;
    const char* handler;
    int flags;
    const char* hint;
};

enum class DropDown { None, Instant, Split };

struct ToolEntry {
    const char* name;
    const char* caption;  // empty for the preview tool bar (pictures only)
    const char* hint;
    int tag;
    const char* handler;
    const char* menu;     // object name of the menu it drops down
    DropDown dropDown;
    int flags;
    const char* icon;     // name of the picture (see CommandIcons)
};

std::span<const MenuEntry> mainMenuEntries();
std::span<const MenuEntry> popupMenuEntries(int number);  // 2, 3 or 4
std::span<const ToolEntry> mainToolBarEntries();          // ToolBar4
std::span<const ToolEntry> previewToolBarEntries();       // ToolBar1

}  // namespace app
