#pragma once
// The trace cleaner: after a confirmation it removes the browsing traces the user chose,
// in a fixed order: cookie files, URL history, browser cache, recent documents, the media
// player's recent files. Long steps process pending messages between entries so the
// program stays responsive; a clean asked for while one runs is ignored.
#include <string>

namespace vrin {

// The six check marks of the "Clear options" submenu.
struct CleanOptions {
  bool cache = false;            // option1
  bool cookies = false;          // option2
  bool history = false;          // option3
  bool recentDocuments = false;  // option4
  bool automatic = false;        // option5: clean at start-up (read by the history window)
  bool mediaList = false;        // option6
};

// "Cleaning navigation traces can take some minutes", LF CR, "Do you want to continue ?"
extern const char* const kCleanQuestion;

extern const char* const kShellFoldersKey;   // below HKEY_CURRENT_USER
extern const char* const kCookiesValue;      // "Cookies"
extern const char* const kMediaRecentKey;    // below HKEY_CURRENT_USER

class TraceCleaner {
 public:
  // The whole clean: the confirmation, then the chosen steps. Returns false when nothing
  // ran: another clean is under way, or the answer was not "&Oui". A failing step raises
  // its error and the later steps do not run.
  static bool run(const CleanOptions& options);
  // The panic key: closes every browser window, then the clean with its confirmation.
  static bool panic(const CleanOptions& options);
  // The chosen steps in their fixed order, without asking.
  static void runSteps(const CleanOptions& options);
  // Whether a clean (its confirmation included) is under way.
  static bool busy();

  // The steps.
  static void CleanCookies();
  static void CleanHistory();
  static void CleanCache();
  static void CleanRecentDocuments();
  static void CleanMediaList();
  // Deletes the plain files of `folder` (hidden and system ones too); folders are never
  // entered nor removed; links and files that refuse (read-only, in use) stay, and so does
  // any file that turns out to lie elsewhere. A folder refused by folderToClean deletes
  // nothing.
  static void DeleteFolderFiles(const std::string& folder);
  // The folder a clean of `value` would empty, resolved to its full path; empty when it
  // must not be emptied: no absolute name, a drive or share root, the Windows or system
  // folder, the user's profile or desktop folder, or a folder that cannot be opened.
  static std::wstring folderToClean(const std::string& value);
  // The folder the shell names for cookies, as stored (UTF-8); empty when none.
  static std::string cookieFolder();
};

// Asks every top-level window of class "IEFrame" once to close (SC_CLOSE). The windows are
// listed first and then asked, so a window that closes late, declines or hangs neither
// hides the others nor holds the loop. Returns the number of windows asked.
int CloseBrowserWindows();

}  // namespace vrin
