// The browser's cache and URL history components against Wine's WinINet and URL history object.
#include <gtest/gtest.h>

#include "support/com_environment.h"
#include "support/win_test_util.h"

#include <objbase.h>

#include <string>

#include "cleaner/browser_stores.h"
#include "cleaner/trace_cleaner.h"
#include "ui/application.h"
#include "ui/dialogs.h"

using namespace vrin;
using vrin::test::onThreadWithoutCom;
using vrin::test::ThreadOutcome;

namespace {

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new vrin::test::ComEnvironment);

}  // namespace

TEST(BrowserStores, CacheFilterMaskFollowsTheSet) {
  BrowserCache cache(nullptr);
  EXPECT_EQ(cache.filterOptions(), 125u);
  EXPECT_EQ(cache.entryTypeMask(), 0x300035u);
  cache.setProperty("FilterOptions", PropValue::ofInt(filterBit(FilterOption::COOKIE_ENTRY) |
                                                      filterBit(FilterOption::OCX_ENTRY)));
  EXPECT_EQ(cache.entryTypeMask(), 0x100000u + 0x20000u);
  cache.setProperty("FilterOptions", PropValue::ofInt(0xFFFFFFFF));  // members beyond the nine are dropped
  EXPECT_EQ(cache.filterOptions(), 0x1FFu);
  EXPECT_EQ(cache.entryTypeMask(), 0x1u + 0x2 + 0x4 + 0x100000 + 0x200000 + 0x10 + 0x20 + 0x10000 + 0x20000);
  cache.setProperty("SearchPattern", PropValue::ofInt(int(SearchPattern::spHistory)));
  EXPECT_EQ(cache.searchPattern(), SearchPattern::spHistory);
  EXPECT_EQ(cache.getProperty("LibraryFound").integer, wininetCacheGroupsFound() ? 1 : 0);
  EXPECT_THROW(cache.setProperty("LibraryFound", PropValue::ofInt(1)), Error);
}

TEST(BrowserStores, HistoryObjectIsMadeWhenLoadingCompletes) {
  BrowserHistory history(nullptr);
  EXPECT_EQ(history.history(), nullptr);
  EXPECT_EQ(history.getProperty("SortField").integer, int(SortFieldOption::sfTitle));
  EXPECT_EQ(history.getProperty("SearchField").integer, int(SearchFieldOption::seBoth));
  EXPECT_EQ(history.getProperty("SortDirection").integer, int(SortDirectionOption::sdAscending));
  history.beginLoading();
  EXPECT_NO_THROW(history.endLoading());
  EXPECT_NE(history.history(), nullptr);
}

TEST(BrowserStores, MissingHistoryObjectStopsTheStartWithAMessage) {
  ThreadOutcome result = onThreadWithoutCom([] {
    BrowserHistory history(nullptr);
    history.beginLoading();
    history.endLoading();
  });
  ASSERT_TRUE(result.threw);
  EXPECT_FALSE(result.error.empty());

  // The start-up report: a stop box captioned "Error" with the text; its OK ends it.
  static std::wstring shown;
  shown.clear();
  struct Box {
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
      HWND box = FindWindowW(L"#32770", L"Error");
      if (!box) return;
      wchar_t buf[512] = {};
      for (HWND c = FindWindowExW(box, nullptr, L"STATIC", nullptr); c; c = FindWindowExW(box, c, L"STATIC", nullptr)) {
        GetWindowTextW(c, buf, 512);
        shown += buf;
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  };
  UINT_PTR timer = SetTimer(nullptr, 0, 30, &Box::tick);
  int code = reportStartupFailure(std::make_exception_ptr(Error(result.error)));
  KillTimer(nullptr, timer);
  EXPECT_EQ(code, 1);
  EXPECT_NE(shown.find(widen(result.error)), std::wstring::npos);
}
