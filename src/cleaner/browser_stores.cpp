#include "cleaner/browser_stores.h"

#include "ui/application.h"
#include "ui/win.h"

namespace vrin {

const CLSID kClsidUrlHistory = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kIidUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};
const char* const kInterfaceNotSupported = "Interface non supportée";

namespace {

struct CacheGroupFunctions {
  FARPROC findFirstGroup = nullptr;
  FARPROC findNextGroup = nullptr;
  FARPROC getGroupAttribute = nullptr;
  FARPROC setGroupAttribute = nullptr;
  bool found = false;
};

CacheGroupFunctions& cacheGroupFunctions() {
  static CacheGroupFunctions f;
  return f;
}

bool lookUpCacheGroupFunctions() {
  CacheGroupFunctions& f = cacheGroupFunctions();
  if (f.found) return true;
  HMODULE lib = LoadLibraryA("wininet.dll");  // never freed: the addresses stay valid
  if (!lib) return false;
  f.findFirstGroup = GetProcAddress(lib, "FindFirstUrlCacheGroup");
  f.findNextGroup = GetProcAddress(lib, "FindNextUrlCacheGroup");
  f.getGroupAttribute = GetProcAddress(lib, "GetUrlCacheGroupAttributeA");
  f.setGroupAttribute = GetProcAddress(lib, "SetUrlCacheGroupAttributeA");
  FARPROC findFirstEx = GetProcAddress(lib, "FindFirstUrlCacheEntryExA");
  f.found = f.findFirstGroup && f.findNextGroup && f.getGroupAttribute && f.setGroupAttribute && findFirstEx;
  return f.found;
}

// Looked up as the program's modules start.
const bool g_lookedUpAtStart = lookUpCacheGroupFunctions();

constexpr std::uint32_t kFilterMasks[] = {0x1, 0x2, 0x4, 0x100000, 0x200000, 0x10, 0x20, 0x10000, 0x20000};

const StringList kFilterNames = {"NORMAL_ENTRY",     "STABLE_ENTRY",        "STICKY_ENTRY",
                                 "COOKIE_ENTRY",     "URLHISTORY_ENTRY",    "TRACK_OFFLINE_ENTRY",
                                 "TRACK_ONLINE_ENTRY", "SPARSE_ENTRY",      "OCX_ENTRY"};

// The six kinds the history window's cache component searches.
constexpr FilterOptions kDefaultFilter = 125;

}  // namespace

bool wininetCacheGroupsFound() {
  (void)g_lookedUpAtStart;
  return lookUpCacheGroupFunctions();
}

std::uint32_t filterMask(FilterOptions options) {
  std::uint32_t mask = 0;
  for (unsigned i = 0; i < std::size(kFilterMasks); ++i)
    if (options & (FilterOptions(1) << i)) mask += kFilterMasks[i];
  return mask;
}

// ---- BrowserCache

const ClassInfo& BrowserCache::staticClassInfo() {
  static const ClassInfo info{
      "TBrowserCache",
      &Component::staticClassInfo(),
      {setProp<BrowserCache>("FilterOptions", kFilterNames, &BrowserCache::filterOptionsBits,
                             &BrowserCache::setFilterOptionsBits),
       enumProp<BrowserCache, SearchPattern>("SearchPattern", {"spAll", "spCookies", "spHistory", "spUrl"},
                                             &BrowserCache::searchPattern, &BrowserCache::setSearchPattern),
       PropInfo{"LibraryFound", TypeKind::Enumeration, {"False", "True"}, FloatType::Double,
                [](const Component& c) {
                  return PropValue::ofInt(static_cast<const BrowserCache&>(c).libraryFound() ? 1 : 0);
                },
                nullptr}}};
  return info;
}

BrowserCache::BrowserCache(Component* owner) : Component(owner) {
  if (wininetCacheGroupsFound()) search_ = SearchState{};
  // The mask always follows the set, from the start too.
  setFilterOptions(kDefaultFilter);
}

BrowserCache::~BrowserCache() = default;

void BrowserCache::setFilterOptions(FilterOptions options) {
  filterOptions_ = options & ((FilterOptions(1) << std::size(kFilterMasks)) - 1);
  mask_ = filterMask(filterOptions_);
}

// ---- BrowserHistory

const ClassInfo& BrowserHistory::staticClassInfo() {
  static const ClassInfo info{
      "TBrowserHistory",
      &Component::staticClassInfo(),
      {stringProp<BrowserHistory>("Search", &BrowserHistory::search, &BrowserHistory::setSearch),
       enumProp<BrowserHistory, SortFieldOption>(
           "SortField", {"sfUrl", "sfTitle", "sfLastVisited", "sfLastUpdated", "sfExpires"},
           &BrowserHistory::sortField, &BrowserHistory::setSortField),
       enumProp<BrowserHistory, SearchFieldOption>("SearchField", {"seUrl", "seTitle", "seBoth"},
                                                   &BrowserHistory::searchField, &BrowserHistory::setSearchField),
       enumProp<BrowserHistory, SortDirectionOption>("SortDirection", {"sdAscending", "sdDescending"},
                                                     &BrowserHistory::sortDirection,
                                                     &BrowserHistory::setSortDirection)}};
  return info;
}

BrowserHistory::BrowserHistory(Component* owner) : Component(owner) {}

BrowserHistory::~BrowserHistory() {
  entries_.clear();
  if (history_) history_->Release();
}

IUrlHistoryStg2* createUrlHistory() {
  IUnknown* unknown = nullptr;
  HRESULT hr = CoCreateInstance(kClsidUrlHistory, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&unknown));
  if (FAILED(hr) || !unknown) throw Error(systemErrorText(FAILED(hr) ? hr : E_POINTER));
  IUrlHistoryStg2* history = nullptr;
  hr = unknown->QueryInterface(kIidUrlHistoryStg2, reinterpret_cast<void**>(&history));
  unknown->Release();
  if (FAILED(hr) || !history) throw Error(kInterfaceNotSupported);
  return history;
}

void BrowserHistory::loaded() {
  Component::loaded();
  entries_.clear();
  if (history_) return;  // loading completes once; a second pass keeps the object
  history_ = createUrlHistory();
}

int reportStartupFailure(std::exception_ptr error) {
  MessageBoxW(nullptr, widen(exceptionText(error)).c_str(), L"Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  return 1;
}

std::string systemErrorText(long hr) {
  wchar_t* text = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, DWORD(hr), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out;
  if (n && text) {
    std::wstring w(text, n);
    while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n' || w.back() == L' ' || w.back() == L'.'))
      w.pop_back();
    out = narrow(w);
  }
  if (text) LocalFree(text);
  if (out.empty()) {
    char code[16];
    wsprintfA(code, "%08X", unsigned(hr));
    out = std::string("Erreur OLE ") + code;
  }
  return out;
}

}  // namespace vrin
