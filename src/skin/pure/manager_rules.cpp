#include "skin/pure/manager_rules.h"

namespace vrin {

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

int chooseSkinData(const std::vector<SkinDataFacts>& registered, const void* windowForm,
                   const std::string& className) {
  const int n = int(registered.size());
  auto last = [&](auto match) {
    for (int i = n - 1; i >= 0; --i)
      if (match(registered[std::size_t(i)])) return i;
    return -1;
  };
  int found = -1;
  if (windowForm)
    found = last([&](const SkinDataFacts& s) { return s.formType == sfOnlyThisForm && s.ownerForm == windowForm; });
  const std::string lower = lowerAscii(className);
  if (found < 0 && (lower == "tmessageform" || lower == "#32770"))
    found = last([](const SkinDataFacts& s) { return s.formType == sfDialog; });
  if (found < 0) found = last([](const SkinDataFacts& s) { return s.formType == sfMainform; });
  if (found < 0 && n > 0) found = 0;
  return found;
}

SkinRefusal skinRefusal(bool skinActive, const WindowFacts& w, const std::function<bool()>& askDoSkin,
                        const std::function<bool()>& chosenHasSkin) {
  if (!skinActive) return SkinRefusal::Inactive;
  if (w.alreadySkinned) return SkinRefusal::AlreadySkinned;
  if (w.child && lowerAscii(w.parentClass) != "mdiclient") return SkinRefusal::ChildWindow;
  if (w.width == 0 || w.height == 0) return SkinRefusal::EmptyWindow;
  if (w.isForm && w.formTag == kNeverSkinTag) return SkinRefusal::FixedTag;
  if (w.className == "TApplication") return SkinRefusal::ApplicationWindow;
  if (askDoSkin && !askDoSkin()) return SkinRefusal::Declined;
  if (!chosenHasSkin || !chosenHasSkin()) return SkinRefusal::NoSkin;
  return SkinRefusal::None;
}

bool SkinSwitch::request(int action) {
  if (HookState == 4) return false;  // the manager is going away
  PendingAction = action;
  if (HookState != 0) return true;
  if (action == saSwitchOn) SkinActive = true;
  if (action == saSwitchOff) SkinActive = false;
  PendingAction = saNone;
  return false;
}

int SkinSwitch::takePending() {
  const int action = PendingAction;
  PendingAction = saNone;
  if (action == saSwitchOn) SkinActive = true;
  if (action == saSwitchOff) SkinActive = false;
  return action;
}

}  // namespace vrin
