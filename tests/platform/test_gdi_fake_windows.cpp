// Stands in for USER32's window table in the GDI test program only.
#include "test_gdi_fake_windows.h"

#include <map>

namespace vk::gdi_test {
namespace {

std::map<HWND, ClientPixels>& windows() {
  static std::map<HWND, ClientPixels> table;
  return table;
}

}  // namespace

HWND make_window(int width, int height, std::uint32_t fill) {
  static std::uintptr_t next_id = 0x1000;
  HWND hwnd = reinterpret_cast<HWND>(next_id += 0x10);
  ClientPixels& client = windows()[hwnd];
  client.pixels.assign(static_cast<std::size_t>(width) * height, fill);
  client.width = width;
  client.height = height;
  gdi::attach_window(hwnd, &client);
  return hwnd;
}

void destroy_window(HWND hwnd) {
  gdi::detach_window(hwnd);
  windows().erase(hwnd);
}

ClientPixels* client_of(HWND hwnd) {
  auto found = windows().find(hwnd);
  return found == windows().end() ? nullptr : &found->second;
}

}  // namespace vk::gdi_test
