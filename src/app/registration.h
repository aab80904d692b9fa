#pragma once
// Registering and unregistering the browser helper with the system's REGSVR32.EXE.
#include <string>

namespace vrin {

// The system folder and the current folder, each ending in a backslash.
std::string systemFolder();
std::string currentFolder();
bool fileExists(const std::string& path);

// The folder that holds the browser helper: the system folder first, then the current
// folder; empty when neither does.
std::string helperFolder(const std::string& systemDir, const std::string& currentDir);

// "\"<system>REGSVR32.EXE\" \"<folder>Vrin.dll\" /s" (plus " /u" to unregister).
std::string registerCommandLine(const std::string& systemDir, const std::string& libraryDir, bool unregister);

// Starts the command without waiting; its result is not looked at.
void startProgram(const std::string& commandLine);

}  // namespace vrin
