// notify: reports killed popups to a running Vrin exactly as the browser helper does.
// Each address becomes a global atom, and message 0x541 carries the atom to the
// top-level window of class "THelperForm" titled "Vrin". Vrin reads and deletes the atom.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kKilledPopup = WM_USER + 321;  // 0x541
constexpr size_t kMaxAtomName = 255;          // GlobalAddAtomA refuses longer names
constexpr ATOM kFirstStringAtom = 0xC000;     // below this an atom is an integer atom

struct Item {
  bool raw = false;        // --atom N: lParam given as a number, no atom is made
  LPARAM rawValue = 0;
  std::string address;
};

struct Options {
  bool send = false;
  bool quiet = false;
  long count = 1;
  double waitWindow = 0;    // seconds to wait for Vrin's window to appear
  double waitConsumed = -1; // seconds to wait until Vrin has deleted every atom; <0: don't
  std::vector<Item> items;
};

void usage() {
  std::fprintf(stderr,
      "usage: notify [--send] [--count K] [--wait-window S] [--wait-consumed S] [--quiet]\n"
      "              (ADDRESS | --atom N)...\n"
      "  ADDRESS            reported as a killed popup (global atom + message 0x541)\n"
      "  --atom N           post the raw number N as lParam (no atom is created)\n"
      "  --send             deliver with SendMessage instead of PostMessage\n"
      "  --count K          report each item K times\n"
      "  --wait-window S    wait up to S seconds for Vrin's window\n"
      "  --wait-consumed S  after delivery wait up to S seconds until Vrin has deleted\n"
      "                     every atom (exit 2 when it has not)\n"
      "  --quiet            no summary on stdout\n");
}

std::string lastError() {
  DWORD code = GetLastError();
  char buf[512] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buf, sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\n' || buf[n - 1] == '\r' || buf[n - 1] == ' ')) buf[--n] = 0;
  return "error " + std::to_string(code) + (n ? " (" + std::string(buf) + ")" : "");
}

bool parseNumber(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end != text && *end == 0 && out >= 0;
}

bool parseArgs(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char* what) -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "notify: %s needs a value\n", what);
        return nullptr;
      }
      return argv[++i];
    };
    if (a == "--send") {
      o.send = true;
    } else if (a == "--quiet") {
      o.quiet = true;
    } else if (a == "--count") {
      const char* v = value("--count");
      char* end = nullptr;
      if (!v) return false;
      o.count = std::strtol(v, &end, 10);
      if (end == v || *end || o.count < 1) {
        std::fprintf(stderr, "notify: --count needs a positive number, not \"%s\"\n", v);
        return false;
      }
    } else if (a == "--wait-window" || a == "--wait-consumed") {
      const char* v = value(a.c_str());
      double s;
      if (!v) return false;
      if (!parseNumber(v, s)) {
        std::fprintf(stderr, "notify: %s needs seconds, not \"%s\"\n", a.c_str(), v);
        return false;
      }
      (a == "--wait-window" ? o.waitWindow : o.waitConsumed) = s;
    } else if (a == "--atom") {
      const char* v = value("--atom");
      if (!v) return false;
      char* end = nullptr;
      unsigned long long n = std::strtoull(v, &end, 0);
      if (end == v || *end) {
        std::fprintf(stderr, "notify: --atom needs a number, not \"%s\"\n", v);
        return false;
      }
      Item it;
      it.raw = true;
      it.rawValue = static_cast<LPARAM>(n);
      o.items.push_back(it);
    } else if (a == "--help" || a == "-h") {
      usage();
      std::exit(0);
    } else if (a == "--") {
      for (++i; i < argc; ++i) o.items.push_back(Item{false, 0, argv[i]});
    } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      std::fprintf(stderr, "notify: unknown option %s\n", a.c_str());
      return false;
    } else {
      o.items.push_back(Item{false, 0, a});
    }
  }
  if (o.items.empty()) {
    std::fprintf(stderr, "notify: no address given\n");
    return false;
  }
  return true;
}

HWND findVrin(double waitSeconds) {
  auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(waitSeconds);
  for (;;) {
    if (HWND w = FindWindowA("THelperForm", "Vrin")) return w;
    if (std::chrono::steady_clock::now() >= until) return nullptr;
    Sleep(50);
  }
}

// The queue of another thread may be full during a burst; a real helper would retry too.
bool postWithRetry(HWND w, LPARAM lp) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    if (PostMessageA(w, kKilledPopup, 0, lp)) return true;
    if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA || std::chrono::steady_clock::now() >= until)
      return false;
    Sleep(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!parseArgs(argc, argv, o)) {
    usage();
    return 1;
  }

  HWND vrin = findVrin(o.waitWindow);
  if (!vrin) {
    std::fprintf(stderr,
                 "notify: Vrin is not running (no top-level window of class \"THelperForm\" "
                 "titled \"Vrin\")\n");
    return 1;
  }

  // Names longer than an atom can hold are cut the way a helper has to: to 255 characters.
  for (Item& it : o.items) {
    if (!it.raw && it.address.size() > kMaxAtomName) {
      std::fprintf(stderr,
                   "notify: warning: address of %zu characters cut to %zu (the longest atom "
                   "name)\n",
                   it.address.size(), kMaxAtomName);
      it.address.resize(kMaxAtomName);
    }
  }

  int failures = 0;
  long delivered = 0;
  std::vector<std::string> watched;  // string atoms Vrin is expected to delete
  auto start = std::chrono::steady_clock::now();
  for (const Item& it : o.items) {
    for (long k = 0; k < o.count; ++k) {
      LPARAM lp;
      ATOM atom = 0;
      if (it.raw) {
        lp = it.rawValue;
      } else {
        atom = GlobalAddAtomA(it.address.c_str());
        if (!atom) {
          std::fprintf(stderr, "notify: GlobalAddAtomA failed for \"%s\": %s\n",
                       it.address.c_str(), lastError().c_str());
          ++failures;
          break;
        }
        lp = atom;
      }
      bool ok;
      if (o.send) {
        DWORD_PTR result = 0;
        ok = SendMessageTimeoutA(vrin, kKilledPopup, 0, lp, SMTO_NORMAL, 30000, &result) != 0;
      } else {
        ok = postWithRetry(vrin, lp);
      }
      if (!ok) {
        std::fprintf(stderr, "notify: %s to Vrin failed: %s\n",
                     o.send ? "SendMessage" : "PostMessage", lastError().c_str());
        ++failures;
        // A posted atom that never arrived would stay in the table forever.
        if (!o.send && atom) GlobalDeleteAtom(atom);
        break;
      }
      ++delivered;
      if (atom >= kFirstStringAtom && k == 0) watched.push_back(it.address);
    }
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                  .count();
  if (!o.quiet)
    std::printf("%s %ld notification(s) in %.1f ms\n", o.send ? "sent" : "posted", delivered, ms);

  if (o.waitConsumed >= 0 && failures == 0) {
    auto until =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(o.waitConsumed);
    size_t left;
    for (;;) {
      left = 0;
      for (const std::string& name : watched)
        if (GlobalFindAtomA(name.c_str())) ++left;
      if (left == 0 || std::chrono::steady_clock::now() >= until) break;
      Sleep(5);
    }
    double total =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    if (left) {
      std::fprintf(stderr,
                   "notify: %zu atom(s) still in the global atom table after %.1f s: Vrin did "
                   "not read and delete them\n",
                   left, o.waitConsumed);
      return 2;
    }
    if (!o.quiet) std::printf("consumed %ld notification(s) in %.1f ms\n", delivered, total);
  }
  return failures ? 1 : 0;
}
