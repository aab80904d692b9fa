#pragma once
// The skin manager's decisions, apart from the window system: which skin data a window
// gets, whether a window is skinned at all, and when a switch of the skinning takes effect.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vrin {

// Which windows a skin data is for: all of them, only its owner's form, or dialog boxes.
enum SkinFormType { sfMainform, sfOnlyThisForm, sfDialog };

// What the choice looks at of one registered skin data.
struct SkinDataFacts {
  SkinFormType formType = sfMainform;
  const void* ownerForm = nullptr;  // the form that owns the skin data, if any
};

// The index (in registration order) of the skin data for a window, or -1 with none
// registered: the last sfOnlyThisForm one owned by the window's form; for "TMessageForm" and
// "#32770" windows the last sfDialog one; the last sfMainform one; the first one.
int chooseSkinData(const std::vector<SkinDataFacts>& registered, const void* windowForm,
                   const std::string& className);

// What the skinning conditions look at of one window.
struct WindowFacts {
  bool alreadySkinned = false;
  bool child = false;  // WS_CHILD
  std::string parentClass;
  int width = 0, height = 0;  // of the window rectangle
  bool isForm = false;        // one of the application's forms
  std::int32_t formTag = 0;
  std::string className;
};

enum class SkinRefusal { None, Inactive, AlreadySkinned, ChildWindow, EmptyWindow, FixedTag, ApplicationWindow, Declined, NoSkin };

// The first failing condition, in order. `askDoSkin` (the OnFormSkin question) and
// `chosenHasSkin` (the chosen skin data exists and has a skin) run only when every earlier
// condition held.
SkinRefusal skinRefusal(bool skinActive, const WindowFacts& w, const std::function<bool()>& askDoSkin,
                        const std::function<bool()>& chosenHasSkin);

// Forms with this Tag are never skinned, whatever DisableTag says.
constexpr std::int32_t kNeverSkinTag = 99;

enum SkinAction { saNone = 0, saSwitchOn = 1, saSwitchOff = 2, saSkinChanged = 3 };

// HookState, PendingAction and SkinActive: before the first window is activated a switch
// takes effect at once (a skin change is dropped); afterwards it waits for the action timer.
class SkinSwitch {
 public:
  int HookState = 0;  // 0 until the first activation, then 1; 4 while the manager goes away
  int PendingAction = saNone;
  bool SkinActive = false;

  // True when the action timer must be started.
  bool request(int action);
  void firstActivation() {
    if (HookState == 0) HookState = 1;
  }
  // The timer fired: the pending action, now cleared.
  int takePending();
};

// lower-case ASCII, for class-name comparisons.
std::string lowerAscii(std::string s);

}  // namespace vrin
