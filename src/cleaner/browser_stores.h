#pragma once
// Two components over the browser's stores that the history window carries: the WinINet
// cache (whose group functions are looked up at start) and the URL history (whose object
// is created when loading completes; without it the program cannot start).
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include <objbase.h>
#include <urlhist.h>

#include "ui/pure/component.h"

namespace vrin {

// The URL history object and its interface.
extern const CLSID kClsidUrlHistory;     // {3C374A40-BAE4-11CF-BF7D-00AA006946EE}
extern const IID kIidUrlHistoryStg2;     // {AFA0DC11-C313-11D0-831A-00C04FD5AE38}
extern const char* const kInterfaceNotSupported;  // "Interface non supportée"
// The system's text for a failure code, for errors the user reads.
std::string systemErrorText(long hr);
// The system's URL history object, created now (the caller releases it). Raises the
// system's text when it cannot be made, "Interface non supportée" when it lacks the interface.
IUrlHistoryStg2* createUrlHistory();

// Whether wininet.dll offers the cache-group functions. Looked up once when the program
// starts and again on every question while the answer is no. The library stays loaded.
bool wininetCacheGroupsFound();

// WinINet cache entry kinds a search can take.
enum class FilterOption {
  NORMAL_ENTRY, STABLE_ENTRY, STICKY_ENTRY, COOKIE_ENTRY, URLHISTORY_ENTRY,
  TRACK_OFFLINE_ENTRY, TRACK_ONLINE_ENTRY, SPARSE_ENTRY, OCX_ENTRY
};
using FilterOptions = std::uint32_t;  // bit n: FilterOption n
constexpr FilterOptions filterBit(FilterOption o) { return FilterOptions(1) << unsigned(o); }
// The WinINet entry-type mask of a set of options.
std::uint32_t filterMask(FilterOptions options);

enum class SearchPattern { spAll, spCookies, spHistory, spUrl };

struct CacheEntryRecord {
  std::string sourceUrl;
  std::string localFile;
  std::uint32_t entryType = 0;
};
using CacheEntryEvent = Event<void(Component*, const CacheEntryRecord&)>;
using CacheGroupEvent = Event<void(Component*, std::int64_t groupId)>;

class BrowserCache : public Component {
 public:
  explicit BrowserCache(Component* owner);
  ~BrowserCache() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  FilterOptions filterOptions() const { return filterOptions_; }
  void setFilterOptions(FilterOptions options);
  SearchPattern searchPattern() const { return searchPattern_; }
  void setSearchPattern(SearchPattern p) { searchPattern_ = p; }
  bool libraryFound() const { return wininetCacheGroupsFound(); }
  std::uint32_t entryTypeMask() const { return mask_; }

  CacheEntryEvent onEntry;
  CacheGroupEvent onGroup;

 private:
  // A search in progress: nothing in this program starts one.
  struct SearchState {
    void* entryHandle = nullptr;
    void* groupHandle = nullptr;
    std::int64_t groupId = 0;
    std::uint32_t found = 0;
    std::string pattern;
  };
  std::uint32_t filterOptionsBits() const { return filterOptions_; }
  void setFilterOptionsBits(std::uint32_t v) { setFilterOptions(v); }
  bool libraryFoundProp() const { return libraryFound(); }

  FilterOptions filterOptions_ = 0;
  SearchPattern searchPattern_ = SearchPattern::spAll;
  std::uint32_t mask_ = 0;
  SearchState search_;
};

enum class SortFieldOption { sfUrl, sfTitle, sfLastVisited, sfLastUpdated, sfExpires };
enum class SearchFieldOption { seUrl, seTitle, seBoth };
enum class SortDirectionOption { sdAscending, sdDescending };

struct HistoryEntryRecord {
  std::string url;
  std::string title;
};
using HistoryEntryEvent = Event<void(Component*, const HistoryEntryRecord&, bool& accept)>;

class BrowserHistory : public Component {
 public:
  explicit BrowserHistory(Component* owner);
  ~BrowserHistory() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  std::string search() const { return search_; }
  void setSearch(const std::string& s) { search_ = s; }
  SortFieldOption sortField() const { return sortField_; }
  void setSortField(SortFieldOption v) { sortField_ = v; }
  SearchFieldOption searchField() const { return searchField_; }
  void setSearchField(SearchFieldOption v) { searchField_ = v; }
  SortDirectionOption sortDirection() const { return sortDirection_; }
  void setSortDirection(SortDirectionOption v) { sortDirection_ = v; }

  // The URL history interface, once loading completed.
  IUrlHistoryStg2* history() const { return history_; }
  const std::vector<HistoryEntryRecord>& entries() const { return entries_; }

  HistoryEntryEvent onAccept;
  HistoryEntryEvent onDelete;

 protected:
  // Creates the URL history object; raises an error when it is missing or refuses the
  // interface.
  void loaded() override;

 private:
  std::string search_;
  SortFieldOption sortField_ = SortFieldOption::sfTitle;
  SearchFieldOption searchField_ = SearchFieldOption::seBoth;
  SortDirectionOption sortDirection_ = SortDirectionOption::sdAscending;
  IUrlHistoryStg2* history_ = nullptr;
  std::vector<HistoryEntryRecord> entries_;
};

// The window cannot be made without the URL history object: shows the error in the
// run-time error box (caption "Error", stop icon) and gives the exit code the program
// ends with.
int reportStartupFailure(std::exception_ptr error);

}  // namespace vrin
