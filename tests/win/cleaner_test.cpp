// The trace cleaner against Wine's real registry, file system, WinINet cache and URL
// history object; the confirmation is answered by clicking its buttons.
#include <gtest/gtest.h>

#include "support/com_environment.h"
#include "support/win_test_util.h"

#include <objbase.h>
#include <shlobj.h>
#include <wininet.h>

#include <atomic>
#include <cctype>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cleaner/browser_stores.h"
#include "cleaner/pure/cleaner_rules.h"
#include "cleaner/trace_cleaner.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/registry.h"

using namespace vrin;

namespace {

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new vrin::test::ComEnvironment);

// Pumps messages until `done` holds or the time is up.
bool waitFor(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  return vrin::test::pumpUntil(done, timeoutMs);
}

// ---- Files

class TempDir {
 public:
  TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"vrin-cleaner-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempDir() { removeTree(path_); }
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  static void removeTree(const std::wstring& dir) {
    WIN32_FIND_DATAW f;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &f);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::wstring name = f.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring full = dir + L"\\" + name;
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(full);
        else DeleteFileW(full.c_str());
      } while (FindNextFileW(h, &f));
      FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
  }

 private:
  std::wstring path_;
};

void writeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  WriteFile(h, "cookie", 6, &n, nullptr);
  CloseHandle(h);
  SetFileAttributesW(path.c_str(), attributes);
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// ---- Registry

// Sets (or removes) the shell's "Cookies" value for one test and puts the old one back.
class CookiesValue {
 public:
  CookiesValue() {
    reg_.openKey(std::string("\\") + kShellFoldersKey, true);
    had_ = reg_.valueExists(kCookiesValue);
    if (had_) old_ = reg_.readString(kCookiesValue);
  }
  ~CookiesValue() {
    if (had_) reg_.writeString(kCookiesValue, old_);
    else reg_.deleteValue(kCookiesValue);
  }
  void set(const std::wstring& folder) { reg_.writeString(kCookiesValue, narrow(folder)); }
  void remove() { reg_.deleteValue(kCookiesValue); }
  void setNumber(DWORD v) {
    RegSetValueExW(reg_.currentKey(), L"Cookies", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  }

 private:
  Registry reg_;
  bool had_ = false;
  std::string old_;
};

void removeMediaKey() {
  Registry reg;
  reg.deleteKey(std::string("\\") + kMediaRecentKey);
}

bool mediaKeyExists(std::vector<std::string>* names = nullptr) {
  Registry reg;
  if (!reg.openKeyReadOnly(std::string("\\") + kMediaRecentKey)) return false;
  if (names) *names = reg.valueNames();
  return true;
}

// ---- Cache

void addCacheEntry(const std::string& url) {
  char file[MAX_PATH] = {};
  ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) << GetLastError();
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  WriteFile(h, "<html></html>", 13, &n, nullptr);
  CloseHandle(h);
  FILETIME none{};
  char header[] = "HTTP/1.1 200 OK\r\n\r\n";
  ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY,
                                   reinterpret_cast<BYTE*>(header), DWORD(sizeof header - 1), nullptr, nullptr))
      << GetLastError();
}

bool cacheHas(const std::string& url) {
  DWORD size = 0;
  if (GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size)) return true;
  return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// ---- The confirmation

// Answers every confirmation that appears with the button of the given caption and keeps
// what the dialogs said.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(const wchar_t* button) {
    button_ = button;
    seen_.clear();
    captions_.clear();
    timer_ = SetTimer(nullptr, 0, 30, &DialogAnswerer::tick);
  }
  ~DialogAnswerer() { KillTimer(nullptr, timer_); }
  static int count() { return int(seen_.size()); }
  static const std::vector<std::wstring>& texts() { return texts_; }
  static const std::vector<std::wstring>& captions() { return captions_; }
  // Called right after the click (still inside the dialog's loop).
  static std::function<void()> afterClick;

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dlg = FindWindowW(L"TMessageForm", nullptr);
    if (!dlg || !IsWindowVisible(dlg)) return;
    for (HWND s : seen_)
      if (s == dlg) return;
    seen_.push_back(dlg);
    wchar_t buf[512] = {};
    GetWindowTextW(dlg, buf, 512);
    captions_.push_back(buf);
    std::wstring text;
    for (HWND c = FindWindowExW(dlg, nullptr, L"STATIC", nullptr); c; c = FindWindowExW(dlg, c, L"STATIC", nullptr)) {
      buf[0] = 0;
      GetWindowTextW(c, buf, 512);
      text += buf;
    }
    texts_.push_back(text);
    HWND b = FindWindowExW(dlg, nullptr, L"BUTTON", button_);
    if (b) SendMessageW(b, BM_CLICK, 0, 0);
    if (afterClick) afterClick();
  }
  UINT_PTR timer_ = 0;
  static inline const wchar_t* button_ = L"";
  static inline std::vector<HWND> seen_;
  static inline std::vector<std::wstring> texts_;
  static inline std::vector<std::wstring> captions_;
};
std::function<void()> DialogAnswerer::afterClick;

// A cookie folder with one of each kind of entry, named by the shell's value.
struct CookieScene {
  TempDir outer;  // holds the cookie folder and a file beside it
  std::wstring folder = outer / L"Cookies";
  CookiesValue value;
  CookieScene() {
    CreateDirectoryW(folder.c_str(), nullptr);
    writeFile(folder + L"\\user@site[1].txt");
    writeFile(folder + L"\\index.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    writeFile(folder + L"\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    writeFile(folder + L"\\noext");
    writeFile(folder + L"\\kept.txt", FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
    writeFile(folder + L"\\sub\\inner.txt");
    CreateDirectoryW((folder + L"\\hiddendir").c_str(), nullptr);
    SetFileAttributesW((folder + L"\\hiddendir").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    writeFile(folder + L"\\hiddendir\\inner.txt");
    writeFile(outer / L"beside.txt");
    value.set(folder);
  }
  bool untouched() const {
    return exists(folder + L"\\user@site[1].txt") && exists(folder + L"\\index.dat") &&
           exists(folder + L"\\hidden.txt") && exists(folder + L"\\noext");
  }
  void expectCleaned() const {
    EXPECT_FALSE(exists(folder + L"\\user@site[1].txt"));
    EXPECT_FALSE(exists(folder + L"\\index.dat"));
    EXPECT_FALSE(exists(folder + L"\\hidden.txt"));
    EXPECT_FALSE(exists(folder + L"\\noext"));
    EXPECT_TRUE(exists(folder + L"\\kept.txt"));
    EXPECT_TRUE(exists(folder + L"\\sub"));
    EXPECT_TRUE(exists(folder + L"\\sub\\inner.txt"));
    EXPECT_TRUE(exists(folder + L"\\hiddendir"));
    EXPECT_TRUE(exists(folder + L"\\hiddendir\\inner.txt"));
    EXPECT_TRUE(exists(outer / L"beside.txt"));
    EXPECT_TRUE(exists(folder));
  }
};

using vrin::test::onThreadWithoutCom;
using vrin::test::ThreadOutcome;

// One registry value, put back as it was (or removed) at scope end.
class SavedValue {
 public:
  SavedValue(HKEY root, const std::wstring& key, const wchar_t* name) : name_(name ? name : L"") {
    had_key_ = RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) == ERROR_SUCCESS;
    DWORD size = 0;
    if (had_key_ && RegQueryValueExW(key_, name_.c_str(), nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
      data_.resize(size);
      had_ = RegQueryValueExW(key_, name_.c_str(), nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
    }
  }
  ~SavedValue() {
    if (!had_key_) return;
    if (had_) RegSetValueExW(key_, name_.c_str(), 0, type_, data_.data(), DWORD(data_.size()));
    else RegDeleteValueW(key_, name_.c_str());
    RegCloseKey(key_);
  }
  bool set(const std::wstring& text) {
    return had_key_ && RegSetValueExW(key_, name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                      DWORD((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }

 private:
  std::wstring name_;
  HKEY key_ = nullptr;
  bool had_key_ = false, had_ = false;
  DWORD type_ = REG_SZ;
  std::vector<BYTE> data_;
};

// ---- Links, made as Wine makes them: a Unix symbolic link in the prefix's folders.

std::string unixPath(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(const wchar_t*);
  auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* p = toUnix(path.c_str());
  std::string out = p ? p : "";
  if (p) HeapFree(GetProcessHeap(), 0, p);
  return out;
}

// Starts a Unix program as Wine lets a Windows program do. Wine gives no handle to wait
// on, so the caller waits for what the program does.
bool startUnix(const std::string& command) {
  std::wstring cmd = widen(command);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  return true;
}

// Makes the link and waits until `seen` (the link as Windows sees it) exists.
bool unixLink(const std::string& target, const std::string& link, const std::wstring& seen) {
  return !target.empty() && !link.empty() && startUnix("/bin/ln -s \"" + target + "\" \"" + link + "\"") &&
         waitFor([&] { return exists(seen); }, 5000);
}

// A drive letter of its own whose root is a throw-away folder; gone at scope end.
class ThrowAwayDrive {
 public:
  explicit ThrowAwayDrive(const std::wstring& folder) {
    std::string c = unixPath(L"C:\\");  // ".../dosdevices/c:/"
    if (c.size() < 3) return;
    std::string devices = c.substr(0, c.size() - 3);
    for (wchar_t l = L'Q'; l <= L'Y' && !letter_; ++l) {
      std::wstring root = std::wstring(1, l) + L":\\";
      if (GetDriveTypeW(root.c_str()) != DRIVE_NO_ROOT_DIR) continue;
      link_ = devices + char(std::tolower(char(l))) + ":";
      if (unixLink(unixPath(folder), link_, root)) letter_ = l;
    }
  }
  ~ThrowAwayDrive() {
    if (!letter_) return;
    const std::wstring gone = root();
    if (startUnix("/bin/rm -f \"" + link_ + "\"")) waitFor([&] { return !exists(gone); }, 5000);
  }
  // "Q:\", or empty when no letter could be made.
  std::wstring root() const { return letter_ ? std::wstring(1, letter_) + L":\\" : L""; }

 private:
  wchar_t letter_ = 0;
  std::string link_;
};

// The build's fixtures folder, beside bin.
std::wstring fixtureFolder() {
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring p = exe;
  p.resize(p.find_last_of(L'\\'));  // bin
  p.resize(p.find_last_of(L'\\'));  // the build folder
  return p + L"\\fixtures";
}

std::wstring shellFolder(int csidl) {
  wchar_t buf[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
  return buf;
}

CleanOptions allSteps() {
  CleanOptions o;
  o.cache = o.cookies = o.history = o.recentDocuments = o.mediaList = true;
  return o;
}

}  // namespace

// ---- Cookie files

TEST(CookieClean, DeletesPlainAndHiddenFilesOnlyInsideTheFolder) {
  CookieScene scene;
  scene.value.set(scene.folder + L"\\");  // as the shell may write it
  TraceCleaner::CleanCookies();
  scene.expectCleaned();
  TraceCleaner::CleanCookies();  // a second pass finds nothing more to do
  scene.expectCleaned();
}

TEST(CookieClean, NoUsableFolderDeletesNothing) {
  CookieScene scene;
  // The current folder holds files that a relative or empty name would reach.
  TempDir current;
  writeFile(current / L"precious.txt");
  CreateDirectoryW((current / L"Cookies").c_str(), nullptr);
  writeFile(current / L"Cookies\\c.txt");
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  SetCurrentDirectoryW(current.path().c_str());

  scene.value.remove();
  TraceCleaner::CleanCookies();
  for (const wchar_t* v : {L"", L"   ", L".", L"Cookies", L"\\", L"C:", L"C:Cookies", L"*", L"\\\\.\\C:"}) {
    scene.value.set(v);
    EXPECT_NO_THROW(TraceCleaner::CleanCookies()) << narrow(v);
  }
  scene.value.setNumber(42);
  EXPECT_NO_THROW(TraceCleaner::CleanCookies());
  scene.value.set(scene.folder + L"\\missing");
  EXPECT_NO_THROW(TraceCleaner::CleanCookies());

  SetCurrentDirectoryW(before);
  EXPECT_TRUE(exists(current / L"precious.txt"));
  EXPECT_TRUE(exists(current / L"Cookies\\c.txt"));
  EXPECT_TRUE(scene.untouched());
}

TEST(CookieClean, FolderNames) {
  EXPECT_EQ(usableCookieFolder(L"C:\\Users\\me\\Cookies\\\\"), L"C:\\Users\\me\\Cookies");
  EXPECT_EQ(usableCookieFolder(L"\\\\server\\share\\c"), L"\\\\server\\share\\c");
  EXPECT_EQ(usableCookieFolder(L"C:\\"), L"");
  EXPECT_EQ(usableCookieFolder(L"\\\\server\\share\\"), L"");
  EXPECT_EQ(usableCookieFolder(L"C:\\a:stream"), L"");
  EXPECT_EQ(usableCookieFolder(L"\\\\"), L"");
  EXPECT_EQ(usableCookieFolder(L"C:\\a\\*.txt"), L"");
  // Final paths as the system reports them, and the roots they may name.
  EXPECT_EQ(withoutLongPathPrefix(L"\\\\?\\UNC\\srv\\sh\\c"), L"\\\\srv\\sh\\c");
  EXPECT_EQ(withoutLongPathPrefix(L"\\\\?\\C:\\c"), L"C:\\c");
  EXPECT_TRUE(isRootFolder(L"\\\\srv\\sh\\"));
  EXPECT_TRUE(isRootFolder(L"D:"));
  EXPECT_FALSE(isRootFolder(L"\\\\srv\\sh\\c"));
  EXPECT_FALSE(isRootFolder(L"C:\\c"));
}

// A whole drive is never emptied, named directly or through ".." parts: the drive here is
// a throw-away folder of its own letter.
TEST(CookieClean, DriveRootsAreRefusedAfterResolving) {
  TempDir rootFolder;
  writeFile(rootFolder / L"root.txt");
  CreateDirectoryW((rootFolder / L"ck").c_str(), nullptr);
  writeFile(rootFolder / L"ck\\c.txt");
  ThrowAwayDrive drive(rootFolder.path());
  const std::wstring root = drive.root();
  ASSERT_FALSE(root.empty()) << "no drive letter for the throw-away folder";
  ASSERT_TRUE(exists(root + L"root.txt"));
  CookiesValue value;
  for (const std::wstring& v : {root, root.substr(0, 2), root + L"ck\\..", root + L"ck\\..\\ck\\..\\", root + L"..\\.."}) {
    value.set(v);
    EXPECT_EQ(TraceCleaner::folderToClean(narrow(v)), L"") << narrow(v);
    TraceCleaner::CleanCookies();
    EXPECT_TRUE(exists(rootFolder / L"root.txt")) << narrow(v);
  }
  // A folder below the root is cleaned, and only that one.
  value.set(root + L"ck\\..\\ck");
  EXPECT_EQ(TraceCleaner::folderToClean(narrow(root + L"ck\\..\\ck")), root + L"ck");
  TraceCleaner::CleanCookies();
  EXPECT_FALSE(exists(rootFolder / L"ck\\c.txt"));
  EXPECT_TRUE(exists(rootFolder / L"root.txt"));
}

// The Windows, system and profile folders are only asked about, never cleaned, whatever
// the spelling; the desktop is a throw-away folder the shell is told to use.
TEST(CookieClean, SystemAndUserFoldersAreRefused) {
  wchar_t buf[MAX_PATH];
  GetWindowsDirectoryW(buf, MAX_PATH);
  const std::wstring windows = buf;
  GetSystemDirectoryW(buf, MAX_PATH);
  const std::wstring system = buf;
  const std::wstring profile = shellFolder(CSIDL_PROFILE);
  ASSERT_FALSE(profile.empty());
  TempDir other;
  for (const std::wstring& v :
       {windows, windows + L"\\", system, system + L"\\..\\system32", profile, profile + L"\\Desktop\\..",
        other.path() + L"\\..\\..\\..\\..\\..\\..\\..\\" + windows.substr(3)}) {
    EXPECT_EQ(TraceCleaner::folderToClean(narrow(v)), L"") << narrow(v);
  }
  std::wstring upper = windows;
  for (wchar_t& c : upper) c = wchar_t(std::toupper(c));
  EXPECT_EQ(TraceCleaner::folderToClean(narrow(upper)), L"");

  TempDir desk;
  writeFile(desk / L"notes.txt");
  CookiesValue value;
  {
    SavedValue desktop(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                       L"Desktop");
    ASSERT_TRUE(desktop.set(desk.path()));
    ASSERT_EQ(shellFolder(CSIDL_DESKTOPDIRECTORY), desk.path());
    for (const std::wstring& v : {desk.path(), desk.path() + L"\\sub\\.."}) {
      value.set(v);
      TraceCleaner::CleanCookies();
      EXPECT_TRUE(exists(desk / L"notes.txt")) << narrow(v);
    }
  }
  ASSERT_NE(shellFolder(CSIDL_DESKTOPDIRECTORY), desk.path());  // the shell's own again
  // No longer the desktop, the same folder is an ordinary one.
  value.set(desk.path());
  TraceCleaner::CleanCookies();
  EXPECT_FALSE(exists(desk / L"notes.txt"));
}

// A cookie file that is a link to a file elsewhere is left, and so is its target.
TEST(CookieClean, LinksToFilesElsewhereAreLeftAlone) {
  CookieScene scene;
  const std::wstring target = scene.outer / L"target.txt";
  writeFile(target);
  ASSERT_TRUE(unixLink(unixPath(target), unixPath(scene.folder) + "/link.txt", scene.folder + L"\\link.txt"));
  TraceCleaner::CleanCookies();
  EXPECT_TRUE(exists(target));
  EXPECT_TRUE(exists(scene.folder + L"\\link.txt"));
  scene.expectCleaned();
}

// ---- Cache, media list, history

TEST(CacheClean, CommittedEntriesAreGoneAndAnEmptyCacheIsFine) {
  std::vector<std::string> urls;
  for (int i = 0; i < 12; ++i) urls.push_back("http://cleaner.test/page" + std::to_string(i) + ".htm");
  // Bigger than any first guess of an entry's size: the buffer must follow.
  urls.push_back("http://cleaner.test/long?" + std::string(3000, 'q'));
  for (const auto& u : urls) addCacheEntry(u);
  for (const auto& u : urls) ASSERT_TRUE(cacheHas(u)) << u;
  TraceCleaner::CleanCache();
  for (const auto& u : urls) EXPECT_FALSE(cacheHas(u)) << u;
  EXPECT_NO_THROW(TraceCleaner::CleanCache());  // nothing left to find
}

TEST(MediaListClean, KeyIsCreatedWhenMissingAndEmptied) {
  removeMediaKey();
  ASSERT_FALSE(mediaKeyExists());
  TraceCleaner::CleanMediaList();
  std::vector<std::string> names;
  ASSERT_TRUE(mediaKeyExists(&names));
  EXPECT_TRUE(names.empty());

  Registry reg;
  ASSERT_TRUE(reg.openKey(std::string("\\") + kMediaRecentKey, true));
  reg.writeString("File0", "C:\\music\\a.mp3");
  reg.writeString("File1", "C:\\video\\b.avi");
  reg.writeString("", "default");
  reg.createKey("Sub");
  reg.closeKey();
  TraceCleaner::CleanMediaList();
  ASSERT_TRUE(mediaKeyExists(&names));
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(reg.keyExists(std::string("\\") + kMediaRecentKey + "\\Sub"));  // only values go
  removeMediaKey();
}

// Without COM on the thread the URL history object cannot be made: the error stops the
// clean after the cookies, so the cache and the media list are left alone.
TEST(HistoryClean, FailureEndsTheCleanInStepOrder) {
  CookieScene scene;
  removeMediaKey();
  addCacheEntry("http://cleaner.test/kept-by-failure");
  ThreadOutcome result = onThreadWithoutCom([] { TraceCleaner::runSteps(allSteps()); });
  EXPECT_TRUE(result.threw);
  EXPECT_FALSE(result.error.empty());
  scene.expectCleaned();  // cookies came first
  EXPECT_TRUE(cacheHas("http://cleaner.test/kept-by-failure"));
  EXPECT_FALSE(mediaKeyExists());
  TraceCleaner::CleanCache();
}

// The history step through a stand-in registered for the history object's class in this
// prefix: one ClearHistory, and nothing kept afterwards.
TEST(HistoryClean, ClearHistoryIsAskedOnce) {
  std::wstring dll = fixtureFolder() + L"\\history_recorder.dll";
  HMODULE recorder = LoadLibraryW(dll.c_str());
  ASSERT_NE(recorder, nullptr) << narrow(dll);
  using Count = LONG(WINAPI*)();
  auto calls = reinterpret_cast<Count>(reinterpret_cast<void*>(GetProcAddress(recorder, "recordedClearHistoryCalls")));
  auto live = reinterpret_cast<Count>(reinterpret_cast<void*>(GetProcAddress(recorder, "recordedLiveObjects")));
  ASSERT_TRUE(calls && live);
  {
    const std::wstring key = L"CLSID\\{3C374A40-BAE4-11CF-BF7D-00AA006946EE}\\InprocServer32";
    SavedValue server(HKEY_CLASSES_ROOT, key, nullptr);
    SavedValue model(HKEY_CLASSES_ROOT, key, L"ThreadingModel");
    ASSERT_TRUE(server.set(dll));
    ASSERT_TRUE(model.set(L"Apartment"));
    TraceCleaner::CleanHistory();
    EXPECT_EQ(calls(), 1);
    EXPECT_EQ(live(), 0);
    CleanOptions o;
    o.cache = true;  // a clean without the history step leaves it alone
    TraceCleaner::runSteps(o);
    EXPECT_EQ(calls(), 1);
  }
  FreeLibrary(recorder);
}

TEST(RecentDocumentsClean, TheShellsListIsEmptied) {
  TempDir dir;
  const std::wstring doc = dir / L"vrin-recent-probe.txt";
  writeFile(doc);
  const std::wstring link = shellFolder(CSIDL_RECENT) + L"\\vrin-recent-probe.txt.lnk";
  auto listed = [] {
    Registry reg;
    if (!reg.openKeyReadOnly("\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs")) return size_t(0);
    return reg.valueNames().size();
  };
  SHAddToRecentDocs(SHARD_PATHW, doc.c_str());
  ASSERT_GT(listed(), 0u);
  TraceCleaner::CleanRecentDocuments();
  EXPECT_EQ(listed(), 0u);
  DeleteFileW(link.c_str());  // the shortcut this test made
}

// ---- The whole clean with its confirmation

TEST(Clean, YesRunsTheCheckedStepsAfterTheExactQuestion) {
  CookieScene scene;
  removeMediaKey();
  addCacheEntry("http://cleaner.test/yes");
  DialogAnswerer answer(L"&Oui");
  EXPECT_TRUE(TraceCleaner::run(allSteps()));
  ASSERT_EQ(DialogAnswerer::count(), 1);
  EXPECT_EQ(DialogAnswerer::captions()[0], L"Confirmation");
  EXPECT_EQ(DialogAnswerer::texts()[0],
            L"Cleaning navigation traces can take some minutes\n\rDo you want to continue ?");
  scene.expectCleaned();
  EXPECT_FALSE(cacheHas("http://cleaner.test/yes"));
  EXPECT_TRUE(mediaKeyExists());
  EXPECT_FALSE(TraceCleaner::busy());
  removeMediaKey();
}

TEST(Clean, OnlyTheCheckedStepsRunAndNoneStillAsks) {
  CookieScene scene;
  {
    DialogAnswerer answer(L"&Oui");
    EXPECT_TRUE(TraceCleaner::run(CleanOptions{}));
    EXPECT_EQ(DialogAnswerer::count(), 1);
    EXPECT_TRUE(scene.untouched());
  }
  removeMediaKey();
  addCacheEntry("http://cleaner.test/only-media");
  CleanOptions o;
  o.mediaList = true;
  o.automatic = true;  // the start-up choice is no step
  DialogAnswerer answer(L"&Oui");
  EXPECT_TRUE(TraceCleaner::run(o));
  EXPECT_TRUE(scene.untouched());
  EXPECT_TRUE(cacheHas("http://cleaner.test/only-media"));
  EXPECT_TRUE(mediaKeyExists());
  removeMediaKey();
  TraceCleaner::CleanCache();
}

TEST(Clean, NoCleansNothing) {
  CookieScene scene;
  removeMediaKey();
  addCacheEntry("http://cleaner.test/no");
  DialogAnswerer answer(L"&Non");
  EXPECT_FALSE(TraceCleaner::run(allSteps()));
  EXPECT_EQ(DialogAnswerer::count(), 1);
  EXPECT_TRUE(scene.untouched());
  EXPECT_TRUE(cacheHas("http://cleaner.test/no"));
  EXPECT_FALSE(mediaKeyExists());
  TraceCleaner::CleanCache();
}

TEST(Clean, ClosingTheDialogCleansNothing) {
  CookieScene scene;
  struct Closer {
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
      if (HWND dlg = FindWindowW(L"TMessageForm", nullptr)) PostMessageW(dlg, WM_CLOSE, 0, 0);
    }
  };
  UINT_PTR timer = SetTimer(nullptr, 0, 30, &Closer::tick);
  EXPECT_FALSE(TraceCleaner::run(allSteps()));
  KillTimer(nullptr, timer);
  EXPECT_TRUE(scene.untouched());
}

// A request arriving through the clean's own message processing, and one arriving while
// the question is open, are both ignored: one dialog, one clean.
TEST(Clean, ReentrantRequestsAreIgnored) {
  CookieScene scene;
  static std::vector<bool> answers;
  static std::vector<bool> busyWhenAsked;
  answers.clear();
  busyWhenAsked.clear();
  static HWND poster = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  static WNDPROC old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(poster, GWLP_WNDPROC));
  struct Poster {
    static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_APP) {
        busyWhenAsked.push_back(TraceCleaner::busy());
        answers.push_back(TraceCleaner::run(allSteps()));
        return 0;
      }
      return CallWindowProcW(old, h, m, w, l);
    }
  };
  SetWindowLongPtrW(poster, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Poster::proc));
  PostMessageW(poster, WM_APP, 0, 0);  // handled by the question's own loop
  DialogAnswerer::afterClick = [] { PostMessageW(poster, WM_APP, 0, 0); };  // handled mid-clean
  {
    DialogAnswerer answer(L"&Oui");
    CleanOptions o;
    o.cookies = true;
    EXPECT_TRUE(TraceCleaner::run(o));
    EXPECT_EQ(DialogAnswerer::count(), 1);
  }
  DialogAnswerer::afterClick = nullptr;
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_FALSE(answers[0]);
  EXPECT_FALSE(answers[1]);
  EXPECT_TRUE(busyWhenAsked[0]);
  EXPECT_TRUE(busyWhenAsked[1]);
  scene.expectCleaned();
  EXPECT_FALSE(TraceCleaner::busy());
  // Once over, a clean may start again.
  DialogAnswerer again(L"&Non");
  EXPECT_FALSE(TraceCleaner::run(CleanOptions{}));
  EXPECT_EQ(DialogAnswerer::count(), 1);
}

// ---- Browser windows

namespace {

struct FakeBrowser {
  bool refuse = false;
  int asked = 0;
};

LRESULT CALLBACK fakeBrowserProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* b = reinterpret_cast<FakeBrowser*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (b && m == WM_SYSCOMMAND && (w & 0xFFF0) == SC_CLOSE) {
    ++b->asked;
    if (!b->refuse) DestroyWindow(h);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

HWND makeBrowser(FakeBrowser& b) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &fakeBrowserProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"IEFrame";
    RegisterClassW(&wc);
    registered = true;
  }
  HWND h = CreateWindowExW(0, L"IEFrame", L"browser", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&b));
  return h;
}

// One walk of the top-level windows: a FindWindowEx chain asks the system again for every
// window, which with a thousand browsers on a busy machine outlasts the waits below.
int browserCount() {
  int n = 0;
  EnumWindows(
      [](HWND w, LPARAM counter) -> BOOL {
        wchar_t name[16];
        if (GetClassNameW(w, name, 16) && lstrcmpW(name, L"IEFrame") == 0) ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

std::string readAll(const std::wstring& path) {
  std::string out;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return out;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
  CloseHandle(h);
  return out;
}

}  // namespace

TEST(BrowserWindows, EachIsAskedOnceAndTheLoopEnds) {
  EXPECT_EQ(CloseBrowserWindows(), 0);
  FakeBrowser a, stubborn, c;
  stubborn.refuse = true;
  makeBrowser(a);
  HWND s = makeBrowser(stubborn);
  makeBrowser(c);
  EXPECT_EQ(CloseBrowserWindows(), 3);
  EXPECT_EQ(a.asked, 1);
  EXPECT_EQ(stubborn.asked, 1);
  EXPECT_EQ(c.asked, 1);
  EXPECT_EQ(browserCount(), 1);
  // A later panic asks the one left again, once.
  EXPECT_EQ(CloseBrowserWindows(), 1);
  EXPECT_EQ(stubborn.asked, 2);
  DestroyWindow(s);
}

// The "IEFrame" fixture program, ended at scope end whatever its windows did.
class BrowserProcess {
 public:
  explicit BrowserProcess(const std::wstring& arguments) {
    std::wstring cmd = L"\"" + fixtureFolder() + L"\\ieframe.exe\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    started_ = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
  }
  ~BrowserProcess() {
    if (!started_) return;
    TerminateProcess(pi_.hProcess, 0);
    WaitForSingleObject(pi_.hProcess, 10000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  bool started() const { return started_; }

 private:
  PROCESS_INFORMATION pi_{};
  bool started_ = false;
};

TEST(BrowserWindows, OtherProcessWindowsAreClosedOnce) {
  TempDir dir;
  std::wstring log = dir / L"log.txt";
  BrowserProcess browsers(L"--refuse 2 --lifetime 60 --log \"" + log + L"\" 3");
  ASSERT_TRUE(browsers.started());
  ASSERT_TRUE(waitFor([] { return browserCount() == 3; }));
  EXPECT_EQ(CloseBrowserWindows(), 3);
  EXPECT_EQ(browserCount(), 1);
  std::string text = readAll(log);
  EXPECT_NE(text.find("sc_close 1 closed"), std::string::npos) << text;
  EXPECT_NE(text.find("sc_close 2 refused"), std::string::npos) << text;
  EXPECT_NE(text.find("sc_close 3 closed"), std::string::npos) << text;
  EXPECT_EQ(text.find("sc_close 2 refused"), text.rfind("sc_close 2 refused")) << text;
}

// Opens `count` fixture browsers (window `hung` frozen, 0: none), each going a moment
// after it answers, and checks that one panic asks every window once.
void expectEveryBrowserAsked(int count, int hung) {
  TempDir dir;
  std::wstring log = dir / L"log.txt";
  std::wstring options = L"--late --hidden --lifetime 60 --log \"" + log + L"\" ";
  if (hung) options += L"--hung " + std::to_wstring(hung) + L" ";
  BrowserProcess browsers(options + std::to_wstring(count));
  ASSERT_TRUE(browsers.started());
  // A thousand windows take a while to appear when the machine is busy.
  ASSERT_TRUE(waitFor([&] { return browserCount() == count; }, 60000)) << browserCount();
  HWND frozen = nullptr;
  if (hung) {
    frozen = FindWindowW(L"IEFrame", (L"IEFrame fixture " + std::to_wstring(hung)).c_str());
    ASSERT_NE(frozen, nullptr);
    // Only a window the system already sees as hung is passed over at once.
    ASSERT_TRUE(waitFor([&] { return IsHungAppWindow(frozen) != FALSE; }, 15000));
  }
  EXPECT_EQ(CloseBrowserWindows(), count);
  const int left = hung ? 1 : 0;
  EXPECT_TRUE(waitFor([&] { return browserCount() == left; }, 60000)) << browserCount();
  if (frozen) {
    EXPECT_TRUE(IsWindow(frozen));
  }
  std::string text = readAll(log);
  int missing = 0, twice = 0;
  for (int k = 1; k <= count; ++k) {
    if (k == hung) continue;
    std::string line = "sc_close " + std::to_string(k) + " closed\r\n";
    std::size_t at = text.find(line);
    if (at == std::string::npos) {
      ++missing;
    } else if (text.find(line, at + 1) != std::string::npos) {
      ++twice;
    }
  }
  EXPECT_EQ(missing, 0);
  EXPECT_EQ(twice, 0);
}

// Browsers that go a moment after answering: a search carried on from a window that went
// meanwhile would end early, so many of them, a few times over, make sure none is missed.
TEST(BrowserWindows, LateClosingBrowsersHideNoOther) {
  for (int round = 0; round < 3; ++round) expectEveryBrowserAsked(1000, 0);
}

// A frozen browser is passed over and holds none of the others back.
TEST(BrowserWindows, AFrozenBrowserHoldsNoOtherBack) { expectEveryBrowserAsked(20, 20); }

TEST(BrowserWindows, PanicClosesBrowsersEvenWhenTheAnswerIsNo) {
  CookieScene scene;
  FakeBrowser a;
  makeBrowser(a);
  DialogAnswerer answer(L"&Non");
  EXPECT_FALSE(TraceCleaner::panic(allSteps()));
  EXPECT_EQ(a.asked, 1);
  EXPECT_EQ(browserCount(), 0);
  EXPECT_EQ(DialogAnswerer::count(), 1);
  EXPECT_TRUE(scene.untouched());
}

TEST(BrowserWindows, PanicDuringACleanStillClosesBrowsers) {
  CookieScene scene;
  static FakeBrowser a;
  a = FakeBrowser{};
  static bool panicRan = false;
  static bool panicAnswer = true;
  panicRan = false;
  DialogAnswerer::afterClick = [] {
    makeBrowser(a);
    panicAnswer = TraceCleaner::panic(allSteps());
    panicRan = true;
  };
  DialogAnswerer answer(L"&Oui");
  CleanOptions o;
  o.cookies = true;
  EXPECT_TRUE(TraceCleaner::run(o));
  DialogAnswerer::afterClick = nullptr;
  ASSERT_TRUE(panicRan);
  EXPECT_FALSE(panicAnswer);
  EXPECT_EQ(a.asked, 1);
  EXPECT_EQ(DialogAnswerer::count(), 1);
  scene.expectCleaned();
}
