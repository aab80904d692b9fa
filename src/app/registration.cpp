#include "app/registration.h"

#include <vector>

#include "app/product.h"
#include "ui/win.h"

namespace vrin {

namespace {
// Asks for the size first, so a long path is neither cut nor overflows the buffer.
template <class Get>
std::string folderWithBackslash(Get get) {
  std::vector<char> buf(MAX_PATH);
  DWORD n = get(DWORD(buf.size()), buf.data());
  if (n >= buf.size()) {
    buf.resize(n + 1);
    n = get(DWORD(buf.size()), buf.data());
  }
  if (n == 0 || n >= buf.size()) return {};
  return std::string(buf.data(), n) + "\\";
}
}  // namespace

std::string systemFolder() {
  return folderWithBackslash([](DWORD size, char* out) { return DWORD(GetSystemDirectoryA(out, size)); });
}

std::string currentFolder() {
  return folderWithBackslash([](DWORD size, char* out) { return GetCurrentDirectoryA(size, out); });
}

bool fileExists(const std::string& path) {
  DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::string helperFolder(const std::string& systemDir, const std::string& currentDir) {
  if (fileExists(systemDir + kHelperLibrary)) return systemDir;
  if (fileExists(currentDir + kHelperLibrary)) return currentDir;
  return {};
}

std::string registerCommandLine(const std::string& systemDir, const std::string& libraryDir, bool unregister) {
  return "\"" + systemDir + kRegisterProgram + "\" \"" + libraryDir + kHelperLibrary + "\" " +
         (unregister ? "/s /u" : "/s");
}

// Not WinExec: it waits until the started program reads its messages (up to 30 seconds for
// REGSVR32.EXE), which would freeze start-up and Exit; the helper's registration runs on its own.
void startProgram(const std::string& commandLine) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

}  // namespace vrin
