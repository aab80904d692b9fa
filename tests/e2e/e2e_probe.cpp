// e2e_probe: the end-to-end harness's eyes and hands inside the Wine prefix. Each
// subcommand looks at (or pokes) windows, dialogs or the registry the way a user or another
// program would, prints what it saw and exits 0 on success, 1 on failure, 2 on bad usage.
// CLASS or TITLE "*" means any.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* kUsage =
    "usage: e2e_probe COMMAND ARGS...\n"
    "  wait-window CLASS TITLE SECONDS       prints \"found visible\" or \"found hidden\"\n"
    "  wait-state CLASS TITLE visible|hidden SECONDS\n"
    "  wait-gone CLASS TITLE SECONDS\n"
    "  window-count CLASS TITLE              top-level windows that match\n"
    "  window-rect CLASS TITLE               prints \"left top width height\"\n"
    "  client-origin CLASS TITLE             prints the screen position of the client area\n"
    "  ping CLASS TITLE SECONDS              sends WM_NULL: prints \"answered\" when the\n"
    "                                        window's thread still runs its message loop\n"
    "  close CLASS TITLE                     posts WM_CLOSE to the first match\n"
    "  post CLASS TITLE MSG WPARAM LPARAM    posts any message (numbers: decimal or 0x..)\n"
    "  msgbox CAPTION SECONDS [--class CLASS] [--press TEXT | --leave]\n"
    "                                        waits for a dialog, prints its texts, presses\n"
    "                                        OK (or the first button, or TEXT)\n"
    "  listbox CLASS TITLE [--wait-count N SECONDS]\n"
    "                                        prints the items of the window's list box\n"
    "  list-top CLASS TITLE                  prints the first visible row of its list box\n"
    "  tray-icons SECONDS                    waits for icons in Wine's stand-alone tray and\n"
    "                                        prints each icon's centre \"X Y\" (screen)\n"
    "  child-rect CLASS TITLE CHILD          screen \"left top width height\" of the first child\n"
    "                                        whose class name contains CHILD (any case)\n"
    "  sys-color INDEX                       prints GetSysColor(INDEX) as RRGGBB\n"
    "  text-ink FACE HEIGHT STYLE ANGLE TEXT prints \"FACE WIDTH HEIGHT\": the face GDI picked\n"
    "                                        and the size of the text's ink drawn at ANGLE\n"
    "                                        degrees (STYLE: -, b, i or bi)\n"
    "  find-atom NAME                        prints the global atom or exits 1\n"
    "  reg-get KEY VALUE                     KEY like HKCU\\Software\\Vrin\\Running\n"
    "  reg-set KEY VALUE DATA                writes a string value (creates the key)\n"
    "  reg-delete KEY                        deletes the key and everything below it\n";

int usageError(const char* why) {
  std::fprintf(stderr, "e2e_probe: %s\n%s", why, kUsage);
  return 2;
}

bool parseSeconds(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == 0 && out >= 0;
}

bool parseNumber(const char* text, unsigned long long& out) {
  char* end = nullptr;
  out = std::strtoull(text, &end, 0);
  return end != text && *end == 0;
}

const char* orNull(const char* s) { return std::strcmp(s, "*") == 0 ? nullptr : s; }

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string className(HWND w) {
  char buf[256] = {};
  GetClassNameA(w, buf, sizeof buf);
  return buf;
}

// WM_GETTEXT through a time-out, so a hung target cannot hang the harness.
std::string windowText(HWND w) {
  DWORD_PTR len = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 3000, &len)) return {};
  std::string s(len + 1, '\0');
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()),
                           SMTO_ABORTIFHUNG, 3000, &got))
    return {};
  s.resize(std::min<size_t>(got, len));
  return s;
}

HWND findTop(const char* cls, const char* title) { return FindWindowA(orNull(cls), orNull(title)); }

std::vector<HWND> allTop(const char* cls, const char* title) {
  std::vector<HWND> found;
  HWND w = nullptr;
  while ((w = FindWindowExA(nullptr, w, orNull(cls), orNull(title))) != nullptr) found.push_back(w);
  return found;
}

template <class Pred>
bool pollUntil(double seconds, Pred done) {
  auto until = Clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (done()) return true;
    if (Clock::now() >= until) return false;
    Sleep(50);
  }
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> out;
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

std::string withoutAmpersands(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != '&') out += c;
  return out;
}

// ---- window commands -------------------------------------------------------------------

int waitWindow(const char* cls, const char* title, double seconds) {
  HWND w = nullptr;
  if (!pollUntil(seconds, [&] { return (w = findTop(cls, title)) != nullptr; })) {
    std::printf("not found\n");
    return 1;
  }
  std::printf("found %s\n", IsWindowVisible(w) ? "visible" : "hidden");
  return 0;
}

int waitState(const char* cls, const char* title, const std::string& state, double seconds) {
  if (state != "visible" && state != "hidden") return usageError("state is visible or hidden");
  bool wantVisible = state == "visible";
  bool seen = false;
  bool ok = pollUntil(seconds, [&] {
    HWND w = findTop(cls, title);
    seen = seen || w;
    return w && (IsWindowVisible(w) != FALSE) == wantVisible;
  });
  if (ok) {
    std::printf("%s\n", state.c_str());
    return 0;
  }
  if (!seen) std::printf("not found\n");
  else std::printf("still %s\n", wantVisible ? "hidden" : "visible");
  return 1;
}

int waitGone(const char* cls, const char* title, double seconds) {
  if (pollUntil(seconds, [&] { return findTop(cls, title) == nullptr; })) {
    std::printf("gone\n");
    return 0;
  }
  std::printf("still there\n");
  return 1;
}

int windowCount(const char* cls, const char* title) {
  std::printf("%zu\n", allTop(cls, title).size());
  return 0;
}

// Prints a window's screen rectangle as "left top width height".
int printRect(HWND w) {
  RECT r;
  if (!w || !GetWindowRect(w, &r)) {
    std::printf("not found\n");
    return 1;
  }
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}

int windowRect(const char* cls, const char* title) { return printRect(findTop(cls, title)); }

int clientOrigin(const char* cls, const char* title) {
  HWND w = findTop(cls, title);
  POINT p{0, 0};
  if (!w || !ClientToScreen(w, &p)) {
    std::printf("not found\n");
    return 1;
  }
  std::printf("%ld %ld\n", p.x, p.y);
  return 0;
}

int ping(const char* cls, const char* title, double seconds) {
  HWND w = findTop(cls, title);
  if (!w) {
    std::printf("not found\n");
    return 1;
  }
  DWORD_PTR result = 0;
  UINT ms = static_cast<UINT>(std::min(seconds, 600.0) * 1000);
  if (!SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result)) {
    std::printf("no answer\n");
    return 1;
  }
  std::printf("answered\n");
  return 0;
}

int postTo(const char* cls, const char* title, UINT msg, WPARAM wp, LPARAM lp) {
  HWND w = findTop(cls, title);
  if (!w) {
    std::printf("not found\n");
    return 1;
  }
  if (!PostMessageA(w, msg, wp, lp)) {
    std::printf("PostMessage failed (%lu)\n", GetLastError());
    return 1;
  }
  std::printf("posted\n");
  return 0;
}

// ---- dialogs ---------------------------------------------------------------------------

int msgbox(int argc, char** argv) {
  if (argc < 4) return usageError("msgbox needs CAPTION SECONDS");
  const char* caption = argv[2];
  double seconds;
  if (!parseSeconds(argv[3], seconds)) return usageError("bad SECONDS");
  std::string cls = "#32770";
  std::string pressText;
  bool leave = false;
  for (int i = 4; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--class" && i + 1 < argc) cls = argv[++i];
    else if (a == "--press" && i + 1 < argc) pressText = argv[++i];
    else if (a == "--leave") leave = true;
    else return usageError("unknown msgbox option");
  }

  HWND dlg = nullptr;
  if (!pollUntil(seconds, [&] { return (dlg = FindWindowA(cls.c_str(), caption)) != nullptr; })) {
    std::printf("no dialog\n");
    return 1;
  }
  // The dialog may still be filling in its controls.
  Sleep(200);

  bool icon = false;
  std::vector<std::pair<HWND, std::string>> buttons;
  for (HWND c : children(dlg)) {
    std::string k = lower(className(c));
    LONG style = GetWindowLongA(c, GWL_STYLE);
    if (k.find("static") != std::string::npos || k.find("label") != std::string::npos) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        icon = true;
        continue;
      }
      std::string t = windowText(c);
      if (!t.empty()) std::printf("text: %s\n", t.c_str());
    } else if (k.find("button") != std::string::npos && IsWindowVisible(c)) {
      buttons.emplace_back(c, windowText(c));
    }
  }
  std::printf("icon: %s\n", icon ? "yes" : "no");
  std::string names;
  for (auto& b : buttons) names += (names.empty() ? "" : "|") + b.second;
  std::printf("buttons: %s\n", names.c_str());
  if (leave) return 0;

  HWND press = nullptr;
  if (!pressText.empty()) {
    for (auto& b : buttons)
      if (b.second == pressText || withoutAmpersands(b.second) == withoutAmpersands(pressText))
        press = b.first;
    if (!press) {
      std::printf("no button \"%s\"\n", pressText.c_str());
      return 1;
    }
  } else {
    for (auto& b : buttons)
      if (GetDlgCtrlID(b.first) == IDOK) press = b.first;
    if (!press && !buttons.empty()) press = buttons.front().first;
  }
  if (!press) {
    std::printf("no button to press\n");
    return 1;
  }
  // A click as the dialog manager reports it to the dialog's procedure.
  int id = GetDlgCtrlID(press);
  PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(press));
  if (!pollUntil(5, [&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); })) {
    std::printf("dialog did not close\n");
    return 1;
  }
  std::printf("pressed %s\n", withoutAmpersands(windowText(press).empty() ? "button"
                                                    : windowText(press)).c_str());
  return 0;
}

// ---- list box --------------------------------------------------------------------------

// The first child whose class name contains `part` (lower case).
HWND findChild(HWND top, const std::string& part) {
  for (HWND c : children(top))
    if (lower(className(c)).find(part) != std::string::npos) return c;
  return nullptr;
}

long listCount(HWND lb) {
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutA(lb, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 3000, &n)) return -1;
  return static_cast<long>(static_cast<LRESULT>(n));
}

int listbox(int argc, char** argv) {
  if (argc < 4) return usageError("listbox needs CLASS TITLE");
  long want = -1;
  double seconds = 0;
  if (argc == 7 && std::strcmp(argv[4], "--wait-count") == 0) {
    unsigned long long n;
    if (!parseNumber(argv[5], n) || !parseSeconds(argv[6], seconds))
      return usageError("bad --wait-count");
    want = static_cast<long>(n);
  } else if (argc != 4) {
    return usageError("listbox takes CLASS TITLE [--wait-count N SECONDS]");
  }
  HWND top = findTop(argv[2], argv[3]);
  if (!top) {
    std::printf("not found\n");
    return 1;
  }
  HWND lb = findChild(top, "listbox");
  if (!lb) {
    std::printf("no list box\n");
    return 1;
  }
  long count = 0;
  bool reached = pollUntil(seconds, [&] {
    count = listCount(lb);
    return want < 0 || count >= want;
  });
  std::printf("count: %ld\n", count);
  for (long i = 0; i < count; ++i) {
    // The wide form: Wine does not convert a cross-process LB_GETTEXT sent with the A call.
    DWORD_PTR len = 0;
    SendMessageTimeoutW(lb, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 3000, &len);
    if (static_cast<LRESULT>(len) < 0) len = 0;
    std::wstring w(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(lb, LB_GETTEXT, i, reinterpret_cast<LPARAM>(w.data()), SMTO_ABORTIFHUNG,
                        3000, &got);
    if (static_cast<LRESULT>(got) < 0) got = 0;
    w.resize(std::min<size_t>(got, len));
    std::string s(w.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(),
                                static_cast<int>(s.size()), nullptr, nullptr);
    s.resize(n > 0 ? n : 0);
    std::printf("item: %s\n", s.c_str());
  }
  return reached ? 0 : 1;
}

// ---- tray ------------------------------------------------------------------------------

// Without a desktop tray, Wine shows tray icons as child windows of its own stand-alone tray.
int trayIcons(double seconds) {
  std::vector<RECT> icons;
  pollUntil(seconds, [&] {
    icons.clear();
    HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    if (!tray) return false;
    for (HWND c : children(tray)) {
      RECT r;
      if (className(c) == "__winex11_tray_icon" && IsWindowVisible(c) && GetWindowRect(c, &r))
        icons.push_back(r);
    }
    return !icons.empty();
  });
  if (icons.empty()) {
    std::printf("no tray icon\n");
    return 1;
  }
  for (const RECT& r : icons) std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  return 0;
}

// ---- what the screenshots are checked against ------------------------------------------

// The history list's first visible row (LB_GETTOPINDEX).
int listTop(const char* cls, const char* title) {
  HWND top = findTop(cls, title);
  HWND lb = top ? findChild(top, "listbox") : nullptr;
  DWORD_PTR index = 0;
  if (!lb || !SendMessageTimeoutW(lb, LB_GETTOPINDEX, 0, 0, SMTO_ABORTIFHUNG, 3000, &index)) {
    std::printf("no list box\n");
    return 1;
  }
  std::printf("%ld\n", static_cast<long>(static_cast<LRESULT>(index)));
  return 0;
}

int childRect(const char* cls, const char* title, const char* part) {
  HWND top = findTop(cls, title);
  return printRect(top ? findChild(top, lower(part)) : nullptr);
}

int sysColor(unsigned long long index) {
  if (index > COLOR_MENUBAR) return usageError("no such system colour");
  COLORREF c = GetSysColor(static_cast<int>(index));
  std::printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
  return 0;
}

// Where this prefix's GDI puts the ink of a text: the size of the box of the pixels at least
// half covered when it is drawn white on black at ANGLE degrees (as a side bar's caption is),
// and the face GDI really used, so a caller can tell a stand-in from the face asked for.
int textInk(const char* face, long height, const std::string& style, long angle, const char* text) {
  if (style.find_first_not_of("-bi") != std::string::npos) return usageError("STYLE is -, b, i or bi");
  if (height == 0 || height < -200 || height > 200 || angle < -360 || angle > 360)
    return usageError("HEIGHT within +-200, ANGLE within +-360");
  const int len = lstrlenA(text);
  if (len > 200) return usageError("TEXT of at most 200 characters");
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfEscapement = angle * 10;
  lf.lfWeight = style.find('b') != std::string::npos ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.find('i') != std::string::npos;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfPitchAndFamily = VARIABLE_PITCH;
  lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
  // Room for the text turned any way around a centred origin.
  const int side = 2 * (len + 2) * static_cast<int>(std::labs(height)) + 16;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HFONT font = CreateFontIndirectA(&lf);
  if (!dc || !bmp || !font || !bits) {
    std::printf("cannot draw\n");
    return 1;
  }
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  HGDIOBJ oldFont = SelectObject(dc, font);
  char used[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, used);
  RECT all{0, 0, side, side};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  TextOutA(dc, side / 2, side / 2, text, len);
  GdiFlush();
  const auto* px = static_cast<const std::uint32_t*>(bits);
  long left = side, top = side, right = -1, bottom = -1;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      if (((px[static_cast<size_t>(y) * side + x] >> 8) & 0xFF) >= 128) {
        left = std::min<long>(left, x), right = std::max<long>(right, x);
        top = std::min<long>(top, y), bottom = std::max<long>(bottom, y);
      }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBmp);
  DeleteObject(font);
  DeleteObject(bmp);
  DeleteDC(dc);
  if (right < 0) std::printf("%s 0 0\n", used);
  else std::printf("%s %ld %ld\n", used, right - left + 1, bottom - top + 1);
  return 0;
}

// ---- registry --------------------------------------------------------------------------

bool splitKey(const std::string& full, HKEY& root, std::string& sub) {
  size_t slash = full.find('\\');
  std::string head = lower(full.substr(0, slash));
  sub = slash == std::string::npos ? "" : full.substr(slash + 1);
  if (head == "hkcu" || head == "hkey_current_user") root = HKEY_CURRENT_USER;
  else if (head == "hklm" || head == "hkey_local_machine") root = HKEY_LOCAL_MACHINE;
  else if (head == "hkcr" || head == "hkey_classes_root") root = HKEY_CLASSES_ROOT;
  else return false;
  return true;
}

int regGet(const char* key, const char* value) {
  HKEY root;
  std::string sub;
  if (!splitKey(key, root, sub)) return usageError("KEY starts with HKCU, HKLM or HKCR");
  HKEY k;
  if (RegOpenKeyExA(root, sub.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) {
    std::printf("no key\n");
    return 1;
  }
  DWORD type = 0, size = 0;
  LONG r = RegQueryValueExA(k, value, nullptr, &type, nullptr, &size);
  std::string data(size + 1, '\0');
  if (r == ERROR_SUCCESS)
    r = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) {
    std::printf("no value\n");
    return 1;
  }
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    data.resize(std::min<size_t>(size, data.size()));
    while (!data.empty() && data.back() == '\0') data.pop_back();
    std::printf("%s\n", data.c_str());
  } else if (type == REG_DWORD && size == 4) {
    DWORD d;
    std::memcpy(&d, data.data(), 4);
    std::printf("%lu\n", d);
  } else {
    std::printf("(type %lu, %lu bytes)\n", type, size);
  }
  return 0;
}

int regSet(const char* key, const char* value, const char* data) {
  HKEY root;
  std::string sub;
  if (!splitKey(key, root, sub)) return usageError("KEY starts with HKCU, HKLM or HKCR");
  HKEY k;
  if (RegCreateKeyExA(root, sub.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS) {
    std::printf("cannot create key\n");
    return 1;
  }
  LONG r = RegSetValueExA(k, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                          static_cast<DWORD>(std::strlen(data) + 1));
  RegCloseKey(k);
  std::printf(r == ERROR_SUCCESS ? "set\n" : "cannot set value\n");
  return r == ERROR_SUCCESS ? 0 : 1;
}

int regDelete(const char* key) {
  HKEY root;
  std::string sub;
  if (!splitKey(key, root, sub) || sub.empty())
    return usageError("KEY is HKCU\\..., HKLM\\... or HKCR\\... below the root");
  LONG r = RegDeleteTreeA(root, sub.c_str());
  if (r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND) {
    std::printf("deleted\n");
    return 0;
  }
  std::printf("cannot delete (%ld)\n", r);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usageError("no command");
  std::string cmd = argv[1];
  double s;
  unsigned long long m, wp, lp;
  if (cmd == "wait-window" && argc == 5 && parseSeconds(argv[4], s))
    return waitWindow(argv[2], argv[3], s);
  if (cmd == "wait-state" && argc == 6 && parseSeconds(argv[5], s))
    return waitState(argv[2], argv[3], argv[4], s);
  if (cmd == "wait-gone" && argc == 5 && parseSeconds(argv[4], s))
    return waitGone(argv[2], argv[3], s);
  if (cmd == "window-count" && argc == 4) return windowCount(argv[2], argv[3]);
  if (cmd == "window-rect" && argc == 4) return windowRect(argv[2], argv[3]);
  if (cmd == "client-origin" && argc == 4) return clientOrigin(argv[2], argv[3]);
  if (cmd == "ping" && argc == 5 && parseSeconds(argv[4], s)) return ping(argv[2], argv[3], s);
  if (cmd == "close" && argc == 4) return postTo(argv[2], argv[3], WM_CLOSE, 0, 0);
  if (cmd == "post" && argc == 7 && parseNumber(argv[4], m) && parseNumber(argv[5], wp) &&
      parseNumber(argv[6], lp))
    return postTo(argv[2], argv[3], static_cast<UINT>(m), static_cast<WPARAM>(wp),
                  static_cast<LPARAM>(lp));
  if (cmd == "msgbox") return msgbox(argc, argv);
  if (cmd == "listbox") return listbox(argc, argv);
  if (cmd == "tray-icons" && argc == 3 && parseSeconds(argv[2], s)) return trayIcons(s);
  if (cmd == "find-atom" && argc == 3) {
    ATOM a = GlobalFindAtomA(argv[2]);
    std::printf(a ? "0x%04x\n" : "none\n", a);
    return a ? 0 : 1;
  }
  if (cmd == "list-top" && argc == 4) return listTop(argv[2], argv[3]);
  if (cmd == "child-rect" && argc == 5) return childRect(argv[2], argv[3], argv[4]);
  if (cmd == "sys-color" && argc == 3 && parseNumber(argv[2], m)) return sysColor(m);
  if (cmd == "text-ink" && argc == 7)
    return textInk(argv[2], std::strtol(argv[3], nullptr, 10), argv[4], std::strtol(argv[5], nullptr, 10), argv[6]);
  if (cmd == "reg-get" && argc == 4) return regGet(argv[2], argv[3]);
  if (cmd == "reg-set" && argc == 5) return regSet(argv[2], argv[3], argv[4]);
  if (cmd == "reg-delete" && argc == 3) return regDelete(argv[2]);
  return usageError(("bad command or arguments: " + cmd).c_str());
}
