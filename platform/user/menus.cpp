// USER32 menus as data: bars and popups with their items, states and check marks.
// The SDL display draws them; tests read them through the Win32 calls.
#include <algorithm>
#include <cstring>

#include "user_internal.h"

namespace vk::user {

Menu* find_menu(HMENU menu) {
  auto it = state().menus.find(menu);
  return it == state().menus.end() ? nullptr : it->second.get();
}

static HMENU create_menu(bool popup) {
  HMENU handle = reinterpret_cast<HMENU>(new_handle_value());
  auto menu = std::make_unique<Menu>();
  menu->popup = popup;
  state().menus[handle] = std::move(menu);
  return handle;
}

// The item a menu call names: by position, or by command identifier searched through submenus too.
static MenuItem* find_item(HMENU handle, UINT id, UINT flags) {
  Menu* menu = find_menu(handle);
  if (!menu) return nullptr;
  if (flags & MF_BYPOSITION) {
    return id < menu->items.size() ? &menu->items[id] : nullptr;
  }
  for (MenuItem& item : menu->items) {
    if (item.submenu) {
      if (MenuItem* inner = find_item(item.submenu, id, flags)) return inner;
    } else if (!(item.flags & MF_SEPARATOR) && item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

// A changed item may be on show: windows with a menu are shown again.
static void show_menus_again() {
  for (auto& entry : state().windows) {
    if (entry.second->menu) entry.second->client.changed = true;
  }
}

}  // namespace vk::user

using namespace vk::user;

extern "C" {

HMENU WINAPI CreateMenu(void) { return create_menu(false); }

HMENU WINAPI CreatePopupMenu(void) { return create_menu(true); }

BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR id_or_popup, LPCSTR text) {
  Menu* menu = find_menu(handle);
  if (!menu) return FALSE;
  MenuItem item;
  item.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR);
  if (flags & MF_POPUP) {
    item.submenu = reinterpret_cast<HMENU>(id_or_popup);
    if (!find_menu(item.submenu)) return FALSE;
  } else if (!(flags & MF_SEPARATOR)) {
    item.id = id_or_popup;
  }
  if (!(flags & MF_SEPARATOR) && text) item.text = text;
  menu->items.push_back(std::move(item));
  return TRUE;
}

BOOL WINAPI SetMenu(HWND hwnd, HMENU menu) {
  Window* w = find_window(hwnd);
  if (!w || (menu && !find_menu(menu))) return FALSE;
  w->menu = menu;
  // The menu bar takes its height from the client area.
  if (update_client_size(*w) && w->created) send_size(*w);
  return TRUE;
}

HMENU WINAPI GetMenu(HWND hwnd) {
  Window* w = find_window(hwnd);
  return w ? w->menu : nullptr;
}

BOOL WINAPI DrawMenuBar(HWND hwnd) {
  Window* w = find_window(hwnd);
  if (!w) return FALSE;
  w->client.changed = true;
  return TRUE;
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT id, UINT check) {
  MenuItem* item = find_item(menu, id, check);
  if (!item) return static_cast<DWORD>(-1);
  DWORD previous = item->flags & MF_CHECKED;
  item->flags = (item->flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
  if (previous != (check & MF_CHECKED)) show_menus_again();
  return previous;
}

UINT WINAPI GetMenuState(HMENU menu, UINT id, UINT flags) {
  MenuItem* item = find_item(menu, id, flags);
  if (!item) return static_cast<UINT>(-1);
  if (item->submenu) {
    Menu* sub = find_menu(item->submenu);
    UINT count = sub ? static_cast<UINT>(sub->items.size()) : 0;
    return (count << 8) | (item->flags & 0xFF);
  }
  return item->flags;
}

int WINAPI GetMenuItemCount(HMENU handle) {
  Menu* menu = find_menu(handle);
  return menu ? static_cast<int>(menu->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU handle, int pos) {
  Menu* menu = find_menu(handle);
  if (!menu || pos < 0 || pos >= static_cast<int>(menu->items.size())) return static_cast<UINT>(-1);
  const MenuItem& item = menu->items[static_cast<size_t>(pos)];
  return item.submenu ? static_cast<UINT>(-1) : static_cast<UINT>(item.id);
}

int WINAPI GetMenuStringA(HMENU menu, UINT id, LPSTR buffer, int size, UINT flags) {
  MenuItem* item = find_item(menu, id, flags);
  if (!item) return 0;
  int length = static_cast<int>(item->text.size());
  if (!buffer || size <= 0) return length;
  int n = std::min(length, size - 1);
  std::memcpy(buffer, item->text.data(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

HMENU WINAPI GetSubMenu(HMENU handle, int pos) {
  Menu* menu = find_menu(handle);
  if (!menu || pos < 0 || pos >= static_cast<int>(menu->items.size())) return nullptr;
  return menu->items[static_cast<size_t>(pos)].submenu;
}

}  // extern "C"
