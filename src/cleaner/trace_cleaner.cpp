#include "cleaner/trace_cleaner.h"

#include <objbase.h>
#include <shlobj.h>
#include <urlhist.h>
#include <wininet.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "cleaner/browser_stores.h"
#include "cleaner/pure/cleaner_rules.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/registry.h"

namespace vrin {

const char* const kCleanQuestion =
    "Cleaning navigation traces can take some minutes\n\rDo you want to continue ?";
const char* const kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kCookiesValue = "Cookies";
const char* const kMediaRecentKey = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";

namespace {

bool g_busy = false;

class BusyScope {
 public:
  BusyScope() { g_busy = true; }
  ~BusyScope() { g_busy = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

// Lets the program breathe between entries: pending messages are handled at the first
// entry and then every few milliseconds, which keeps the menus and the panic key lively
// without paying a message-queue round trip for each of thousands of entries. Answers
// false once the program was told to end, so a long clean does not hold Exit back.
class Breather {
 public:
  bool breathe(bool now = false) {
    DWORD tick = GetTickCount();
    if (now || first_ || tick - last_ >= kIntervalMs) {
      first_ = false;
      last_ = tick;
      application().processMessages();
    }
    return !application().terminated();
  }

 private:
  static constexpr DWORD kIntervalMs = 10;
  bool first_ = true;
  DWORD last_ = 0;
};

// The WinINet entry buffer: 8-byte aligned, grown to what the cache asks for.
class CacheEntryBuffer {
 public:
  INTERNET_CACHE_ENTRY_INFOA* entry() {
    return words_.empty() ? nullptr : reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(words_.data());
  }
  DWORD bytes() const { return DWORD(words_.size() * sizeof(std::uint64_t)); }
  // Prepares a call: the size to offer, with dwStructSize set as the cache expects.
  DWORD offer() {
    DWORD size = bytes();
    if (size >= sizeof(DWORD)) std::memcpy(words_.data(), &size, sizeof size);
    return size;
  }
  // False when the size asked for is no growth or beyond reason.
  bool growTo(DWORD size) {
    constexpr DWORD kLimit = 16u << 20;  // one entry's header and texts; more is a broken answer
    if (size <= bytes() || size > kLimit) return false;
    words_.assign((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
    return true;
  }

 private:
  std::vector<std::uint64_t> words_;
};

}  // namespace

bool TraceCleaner::busy() { return g_busy; }

bool TraceCleaner::run(const CleanOptions& options) {
  // The confirmation's modal loop and the steps' message processing let the menu and the
  // panic key in again; one clean at a time.
  if (g_busy) return false;
  BusyScope scope;
  if (confirm(kCleanQuestion) != mrYes) return false;
  runSteps(options);
  return true;
}

bool TraceCleaner::panic(const CleanOptions& options) {
  CloseBrowserWindows();
  return run(options);
}

void TraceCleaner::runSteps(const CleanOptions& options) {
  Application& app = application();
  if (options.cookies && !app.terminated()) CleanCookies();
  if (options.history && !app.terminated()) CleanHistory();
  if (options.cache && !app.terminated()) CleanCache();
  if (options.recentDocuments && !app.terminated()) CleanRecentDocuments();
  if (options.mediaList && !app.terminated()) CleanMediaList();
}

std::string TraceCleaner::cookieFolder() {
  Registry reg(HKEY_CURRENT_USER);
  if (!reg.openKey(std::string("\\") + kShellFoldersKey, true)) return {};
  try {
    return reg.readString(kCookiesValue);
  } catch (const Error&) {
    // A value that is not text names no folder.
    return {};
  }
}

void TraceCleaner::CleanCookies() {
  std::string folder = cookieFolder();
  if (folder.empty()) return;  // no cookie folder: nothing may be deleted
  DeleteFolderFiles(folder);
}

void TraceCleaner::DeleteFolderFiles(const std::string& folder) {
  std::wstring dir = usableCookieFolder(widen(folder));
  if (dir.empty()) return;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((dir + L"\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  // Every entry is looked at, the first included: "." does not always come first.
  Breather breather;
  bool going = true;
  do {
    if (isDeletableEntry(found.cFileName, found.dwFileAttributes)) {
      // Files in use refuse; they stay, without a word.
      DeleteFileW((dir + L"\\" + found.cFileName).c_str());
    }
    going = breather.breathe();
  } while (going && FindNextFileW(search, &found));
  FindClose(search);
  if (going) breather.breathe(true);
}

void TraceCleaner::CleanHistory() {
  IUrlHistoryStg2* history = createUrlHistory();
  history->ClearHistory();  // what it answers changes nothing for the user
  history->Release();
}

void TraceCleaner::CleanCache() {
  CacheEntryBuffer buffer;
  HANDLE search = nullptr;
  // The first call learns the first entry's size; an empty cache ends here.
  for (;;) {
    DWORD size = buffer.offer();
    search = FindFirstUrlCacheEntryA(nullptr, buffer.entry(), &size);
    if (search) break;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || !buffer.growTo(size)) return;
  }
  Breather breather;
  for (;;) {
    if (!breather.breathe()) break;
    if (const char* url = buffer.entry()->lpszSourceUrlName) DeleteUrlCacheEntryA(url);
    // An entry that grew since its size was learnt only makes the buffer grow.
    bool next = false;
    for (;;) {
      DWORD size = buffer.offer();
      if (FindNextUrlCacheEntryA(search, buffer.entry(), &size)) {
        next = true;
        break;
      }
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || !buffer.growTo(size)) break;
    }
    if (!next) break;
  }
  FindCloseUrlCache(search);
}

void TraceCleaner::CleanRecentDocuments() { SHAddToRecentDocs(SHARD_PATHA, nullptr); }

void TraceCleaner::CleanMediaList() {
  Registry reg(HKEY_CURRENT_USER);
  if (!reg.openKey(std::string("\\") + kMediaRecentKey, true)) return;
  for (const std::string& name : reg.valueNames()) reg.deleteValue(name);
  reg.closeKey();  // the key itself stays
}

int CloseBrowserWindows() {
  std::vector<HWND> asked;
  auto wasAsked = [&](HWND w) {
    for (HWND a : asked)
      if (a == w) return true;
    return false;
  };
  for (;;) {
    HWND target = nullptr;
    for (HWND w = FindWindowExA(nullptr, nullptr, "IEFrame", nullptr); w;
         w = FindWindowExA(nullptr, w, "IEFrame", nullptr)) {
      if (!wasAsked(w)) {
        target = w;
        break;
      }
    }
    if (!target) break;
    asked.push_back(target);
    // A browser that asks its user something answers when the user has; a hung one is
    // given up on instead of freezing the program with it.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(target, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, 60000, &answer);
  }
  return int(asked.size());
}

}  // namespace vrin
