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

// A file or folder handle, closed at scope end.
class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() {
    if (valid()) CloseHandle(h_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return h_; }
  bool valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool samePath(std::wstring_view a, std::wstring_view b) {
  auto trim = [](std::wstring_view s) {
    while (s.size() > 1 && (s.back() == L'\\' || s.back() == L'/')) s.remove_suffix(1);
    return s;
  };
  a = trim(a);
  b = trim(b);
  return !a.empty() && !b.empty() &&
         CompareStringOrdinal(a.data(), int(a.size()), b.data(), int(b.size()), TRUE) == CSTR_EQUAL;
}

// Where an open file or folder really is, every link on the way followed; empty when unknown.
std::wstring finalPathOf(HANDLE h) {
  std::wstring buf(MAX_PATH, L'\0');
  for (int tries = 0; tries < 3; ++tries) {
    DWORD n = GetFinalPathNameByHandleW(h, buf.data(), DWORD(buf.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      return withoutLongPathPrefix(buf);
    }
    buf.assign(n, L'\0');  // too small: n counts the terminator
  }
  return {};
}

std::wstring finalFolderPath(const std::wstring& folder) {
  FileHandle h(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return h.valid() ? finalPathOf(h.get()) : std::wstring();
}

// The folders a cookie value must never name, each as the system gives it and as it
// really is.
std::vector<std::wstring> protectedFolders() {
  std::vector<std::wstring> out;
  wchar_t buf[MAX_PATH + 1];
  auto add = [&](UINT n) {
    if (n == 0 || n > MAX_PATH) return;
    std::wstring path(buf, n);
    out.push_back(path);
    std::wstring real = finalFolderPath(path);
    if (!real.empty()) out.push_back(real);
  };
  add(GetWindowsDirectoryW(buf, MAX_PATH));
  add(GetSystemDirectoryW(buf, MAX_PATH));
  add(GetSystemWow64DirectoryW(buf, MAX_PATH));  // the 32-bit system folder, where there is one
  for (int csidl : {CSIDL_PROFILE, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY}) {
    buf[0] = 0;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf))) add(UINT(wcslen(buf)));
  }
  return out;
}

// Deletes one listed entry of `folder` (whose real place is `realFolder`) when it is a
// plain file that really lies there. The handle is opened without following a link where
// the system allows it, checked, and the deletion goes through that same handle, so the
// entry cannot be swapped for a link between the check and the deletion.
void deleteEntry(const std::wstring& folder, const std::wstring& realFolder, const WIN32_FIND_DATAW& found) {
  if (!isDeletableEntry(found.cFileName, found.dwFileAttributes)) return;
  FileHandle h(CreateFileW((folder + L"\\" + found.cFileName).c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!h.valid()) return;  // in use or gone: it stays, without a word
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h.get(), &info) || !isDeletableEntry(found.cFileName, info.dwFileAttributes))
    return;
  if (!samePath(parentFolder(finalPathOf(h.get())), realFolder)) return;  // a link to a file elsewhere
  FILE_DISPOSITION_INFO dispose{TRUE};
  SetFileInformationByHandle(h.get(), FileDispositionInfo, &dispose, sizeof dispose);
}

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

namespace {

// The cookie folder `value` names: `full` its resolved name, `real` where it really is.
// False when it must not be emptied.
bool resolveCookieFolder(const std::string& value, std::wstring& full, std::wstring& real) {
  std::wstring named = usableCookieFolder(widen(value));
  if (named.empty()) return false;
  // ".." parts and the like are resolved first, so that what is checked is what is emptied.
  DWORD n = GetFullPathNameW(named.c_str(), 0, nullptr, nullptr);
  if (n == 0) return false;
  full.assign(n, L'\0');
  n = GetFullPathNameW(named.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return false;
  full.resize(n);
  full = usableCookieFolder(full);
  real = full.empty() ? std::wstring() : finalFolderPath(full);
  if (real.empty() || isRootFolder(real)) return false;
  for (const std::wstring& p : protectedFolders())
    if (samePath(full, p) || samePath(real, p)) return false;
  return true;
}

}  // namespace

std::wstring TraceCleaner::folderToClean(const std::string& value) {
  std::wstring full, real;
  return resolveCookieFolder(value, full, real) ? full : std::wstring();
}

void TraceCleaner::DeleteFolderFiles(const std::string& folder) {
  std::wstring dir, realDir;
  if (!resolveCookieFolder(folder, dir, realDir)) return;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((dir + L"\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  // Every entry is looked at, the first included: "." does not always come first.
  Breather breather;
  bool going = true;
  do {
    deleteEntry(dir, realDir, found);
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

namespace {

BOOL CALLBACK collectBrowser(HWND w, LPARAM list) {
  char name[16] = {};
  // Class names compare without regard to case, as FindWindow does.
  if (GetClassNameA(w, name, sizeof name) && lstrcmpiA(name, "IEFrame") == 0)
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  return TRUE;
}

}  // namespace

int CloseBrowserWindows() {
  // Listed first: a search continued from a window that closed meanwhile would end early.
  std::vector<HWND> browsers;
  EnumWindows(&collectBrowser, reinterpret_cast<LPARAM>(&browsers));
  int asked = 0;
  for (HWND w : browsers) {
    if (!IsWindow(w)) continue;  // closed with an earlier one
    ++asked;
    // A browser that asks its user something answers when the user has; a hung one is
    // given up on instead of freezing the program with it.
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(w, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_ABORTIFHUNG, 60000, &answer);
  }
  return asked;
}

}  // namespace vrin
