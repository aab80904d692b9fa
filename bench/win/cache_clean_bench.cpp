// cache_clean_bench [COUNT] [ROUNDS]: fills the WinINet cache with COUNT entries (5000 by
// default) and empties it with the cleaner's cache step, then fills it again and empties
// it with a bare loop that only enumerates and deletes. Prints both times and their ratio
// for each round; the cleaner's message processing between entries is what it costs.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/helper_form.h"
#include "app/product.h"
#include "cleaner/trace_cleaner.h"
#include "ui/application.h"

namespace {

double seconds() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(freq.QuadPart);
}

// This process's own processor time (user and kernel), less swayed by other load.
double processCpu() {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
  auto s = [](const FILETIME& f) { return double((ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7; };
  return s(kernel) + s(user);
}

bool addEntry(const std::string& url) {
  char file[MAX_PATH] = {};
  if (!CreateUrlCacheEntryA(url.c_str(), 0, "htm", file, 0)) return false;
  HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  WriteFile(h, "<html></html>", 13, &n, nullptr);
  CloseHandle(h);
  FILETIME none{};
  char header[] = "HTTP/1.1 200 OK\r\n\r\n";
  return CommitUrlCacheEntryA(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY, reinterpret_cast<BYTE*>(header),
                              DWORD(sizeof header - 1), nullptr, nullptr) != FALSE;
}

// The bare loop: one generous buffer, enumerate, delete; nothing else.
int bareClean() {
  std::vector<unsigned long long> words(64 * 1024 / 8);
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(words.data());
  DWORD size = DWORD(words.size() * 8);
  int deleted = 0;
  HANDLE search = FindFirstUrlCacheEntryA(nullptr, entry, &size);
  if (!search) return 0;
  do {
    DeleteUrlCacheEntryA(entry->lpszSourceUrlName);
    ++deleted;
    size = DWORD(words.size() * 8);
  } while (FindNextUrlCacheEntryA(search, entry, &size));
  FindCloseUrlCache(search);
  return deleted;
}

int countEntries() {
  std::vector<unsigned long long> words(64 * 1024 / 8);
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(words.data());
  DWORD size = DWORD(words.size() * 8);
  int n = 0;
  HANDLE search = FindFirstUrlCacheEntryA(nullptr, entry, &size);
  if (!search) return 0;
  do {
    ++n;
    size = DWORD(words.size() * 8);
  } while (FindNextUrlCacheEntryA(search, entry, &size));
  FindCloseUrlCache(search);
  return n;
}

bool fill(int count, int round, const char* tag) {
  for (int i = 0; i < count; ++i) {
    std::string url = "http://bench.test/" + std::string(tag) + "/" + std::to_string(round) + "/page" +
                      std::to_string(i) + ".htm";
    if (!addEntry(url)) {
      std::fprintf(stderr, "could not add cache entry %d (%lu)\n", i, GetLastError());
      return false;
    }
  }
  return true;
}

}  // namespace

// Responsiveness: the history window is up; a killed-popup notification is posted from
// another thread while its cache clean runs. Prints when it was listed and when the clean
// ended (it must be listed before).
struct Probe {
  HWND form = nullptr, list = nullptr;
  double start = 0, posted = -1, listed = -1;
};

DWORD WINAPI notifyMidClean(void* arg) {
  auto* p = static_cast<Probe*>(arg);
  Sleep(300);
  ATOM atom = GlobalAddAtomA("http://mid-clean.example/");
  PostMessageA(p->form, vrin::WM_KILLEDPOPUP, 0, atom);
  p->posted = seconds() - p->start;
  for (int i = 0; i < 20000; ++i) {
    DWORD_PTR n = 0;
    if (SendMessageTimeoutA(p->list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 1000, &n) && n >= 1) {
      p->listed = seconds() - p->start;
      break;
    }
    Sleep(5);
  }
  return 0;
}

int responsiveness(int count) {
  CoInitialize(nullptr);
  vrin::application().setTitle(vrin::kAppTitle);
  auto* form = new vrin::HelperForm(nullptr);
  form->ListBox1->clear();
  vrin::application().processMessages();
  if (!fill(count, 99, "mid")) return 1;
  Probe p;
  p.form = form->handle();
  p.list = form->ListBox1->handle();
  p.start = seconds();
  HANDLE thread = CreateThread(nullptr, 0, &notifyMidClean, &p, 0, nullptr);
  vrin::TraceCleaner::CleanCache();
  double ended = seconds() - p.start;
  WaitForSingleObject(thread, 30000);
  CloseHandle(thread);
  std::printf("mid-clean notification: posted at %.3f s, listed at %.3f s; the clean of %d entries ended at %.3f s "
              "(listed before the end: %s)\n",
              p.posted, p.listed, count, ended, p.listed >= 0 && p.listed < ended ? "yes" : "no");
  delete form;
  CoUninitialize();
  return p.listed >= 0 && p.listed < ended ? 0 : 1;
}

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 5000;
  int rounds = argc > 2 ? std::atoi(argv[2]) : 4;
  if (count <= 0 || count > 1000000 || rounds <= 0 || rounds > 20) {
    std::fprintf(stderr, "usage: cache_clean_bench [COUNT] [ROUNDS]\n");
    return 2;
  }
  bareClean();  // start from an empty cache
  std::printf("entries per clean: %d\n", count);
  double sumCleaner = 0, sumBare = 0;
  double cpuCleaner = 0, cpuBare = 0;
  // The two alternate which goes first, so neither always meets the fuller cache index.
  for (int r = 0; r < rounds; ++r) {
    double cleaner = 0, bare = 0, cpuC = 0, cpuB = 0;
    int left = -1, leftBare = -1, deleted = 0;
    for (int half = 0; half < 2; ++half) {
      bool cleanerTurn = (half == 0) == (r % 2 == 0);
      if (!fill(count, r, cleanerTurn ? "cleaner" : "bare")) return 1;
      int before = countEntries();
      if (before != count) {
        std::fprintf(stderr, "cache holds %d entries, expected %d\n", before, count);
        return 1;
      }
      double c0 = processCpu(), t0 = seconds();
      if (cleanerTurn) vrin::TraceCleaner::CleanCache();
      else deleted = bareClean();
      double wall = seconds() - t0, cpu = processCpu() - c0;
      (cleanerTurn ? cleaner : bare) = wall;
      (cleanerTurn ? cpuC : cpuB) = cpu;
      (cleanerTurn ? left : leftBare) = countEntries();
    }
    std::printf("round %d (%s first): cleaner step %.3f s wall, %.3f s cpu; bare loop %.3f s wall, %.3f s cpu "
                "(%d deleted); left %d/%d; ratio %.2f wall, %.2f cpu\n",
                r + 1, r % 2 == 0 ? "cleaner" : "bare", cleaner, cpuC, bare, cpuB, deleted, left, leftBare,
                cleaner / bare, cpuB > 0 ? cpuC / cpuB : 0.0);
    if (left != 0 || leftBare != 0 || deleted != count) {
      std::fprintf(stderr, "entries left behind\n");
      return 1;
    }
    sumCleaner += cleaner;
    sumBare += bare;
    cpuCleaner += cpuC;
    cpuBare += cpuB;
  }
  std::printf("process cpu: cleaner step %.3f s, bare loop %.3f s, ratio %.2f\n", cpuCleaner, cpuBare,
              cpuBare > 0 ? cpuCleaner / cpuBare : 0.0);
  std::printf("wall total: cleaner step %.3f s, bare loop %.3f s, ratio %.2f (target <= 1.50)\n", sumCleaner, sumBare,
              sumCleaner / sumBare);
  return responsiveness(count);
}
