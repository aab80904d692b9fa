#pragma once
// The product's names, kept in one place.

namespace vrin {

inline constexpr const char* kAppTitle = "Vrin";
inline constexpr const char* kFormClass = "THelperForm";
// The product's web site: opened by the tray menu, named by its item and the menu's bar.
inline constexpr const char* kWebSiteAddress = "http://www.vrin.example/";
inline constexpr const char* kWebSiteName = "vrin.example";
inline constexpr const char* kWebSiteCaption = "&Visit vrin.example";
// The browser helper library and the program that registers it.
inline constexpr const char* kHelperLibrary = "Vrin.dll";
inline constexpr const char* kRegisterProgram = "REGSVR32.EXE";
// Held by the running copy for its whole life (per session).
inline constexpr const char* kSingleCopyMutex = "Local\\Vrin.SingleCopy";
// Sent by a second instance to the first: show the history window.
inline constexpr const char* kShowHistoryMessage = "Vrin.ShowHistory";

}  // namespace vrin
