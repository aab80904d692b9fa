#pragma once
// The skin a form carries: the compressed skin as stored in the window definition or read
// from a skin file, and what loading it gives: the skin elements, the colour palette, every
// element picture as a DIB section, the button-face brush.
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/pure/manager_rules.h"
#include "skin/pure/skin_control_types.h"
#include "skin/pure/skin_settings.h"
#include "ui/graphics.h"
#include "ui/pure/component.h"
#include "ui/win.h"

namespace vrin {


using FormSkinEvent = Event<void(Component* sender, const std::string& aName, bool& DoSkin)>;

// How the old-version message reaches the user. Replaceable so that a test run is not held
// by a modal box; the default shows a message box captioned with the application's title.
using SkinMessageFn = void (*)(const std::string& text);
SkinMessageFn& skinMessageHandler();
void showSkinMessage(const std::string& text);

// The stored-property value (a 32-bit length, then the compressed skin) of an RCDATA resource
// of this module holding a compressed skin. Throws Error when the resource is missing.
std::vector<std::uint8_t> skinStreamResource(const char* name);

class SkinData : public Component {
 public:
  explicit SkinData(Component* owner);
  ~SkinData() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  // Published properties.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int DisableTag() const { return disableTag_; }
  void SetDisableTag(int value) { disableTag_ = value; }
  SkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(SkinControlTypes value) { skinControls_ = value & kAllSkinControls; }
  std::string SkinFile() const { return skinFile_; }
  // NoSkin becomes true; at run time an existing file replaces the compressed skin and is
  // loaded. A missing file changes nothing else.
  void SetSkinFile(const std::string& fileName);
  // Display only.
  std::string SkinStore() const;
  void SetSkinStore(const std::string&) {}
  SkinFormType SkinFormtype() const { return formType_; }
  void SetSkinFormtype(SkinFormType value) { formType_ = value; }

  FormSkinEvent OnFormSkin;
  NotifyEvent OnSkinChanged;

  // The stored SkinStream property: reading takes a 32-bit length L and L bytes of compressed
  // skin (nothing when L <= 0) and loads the skin at once. Throws SkinError when the value
  // is shorter than it says.
  void ReadSkinStream(const std::uint8_t* data, std::size_t size, std::size_t* consumed = nullptr);
  void ReadSkinStream(const std::vector<std::uint8_t>& value) { ReadSkinStream(value.data(), value.size()); }
  std::vector<std::uint8_t> WriteSkinStream() const;
  // The compressed skin in memory (layer 2: size header and LZHUF stream).
  const std::vector<std::uint8_t>& CompressedSkin() const { return compressed_; }

  // Parses the compressed skin. False, with NoSkin left true, for an older container (after
  // the message) or damaged bytes (LoadError says why). A failed load keeps the elements of
  // the last good one.
  bool LoadSkin();
  bool NoSkin() const { return noSkin_; }
  const std::string& LoadError() const { return loadError_; }

  // What the skin gave (defaults until a skin was loaded).
  const SkinSettings& Settings() const { return settings_; }
  const vrin::SkinColors& SkinColors() const { return settings_.SkinColors; }
  const std::vector<Colour>& CustomColours() const { return settings_.CustomColours; }
  bool CustomColour(int index, Colour& colour) const { return settings_.customColour(index, colour); }
  const SkinBorderElement& BorderLeft() const { return settings_.BorderLeft; }
  const SkinBorderElement& BorderRight() const { return settings_.BorderRight; }
  const SkinBorderElement& BorderTop() const { return settings_.BorderTop; }
  const SkinBorderElement& BorderBottom() const { return settings_.BorderBottom; }
  const SkinTitleElement& Title() const { return settings_.Title; }
  const SkinButtonElement& Buttons() const { return settings_.Buttons; }
  const std::vector<SkinSysButtonElement>& SysButtons() const { return settings_.SysButtons; }
  // Elements a skin may leave out: nullptr when absent.
  const SkinElement* MenuBar() const { return element(settings_.MenuBar); }
  const SkinBorderElement* Tabs() const { return element(settings_.Tabs); }
  const SkinElement* Progress() const { return element(settings_.Progress); }
  const SkinElement* GroupBoxEdge() const { return element(settings_.GroupBoxEdge); }
  const SkinElement* Toolbars() const { return element(settings_.Toolbars); }
  const SkinElement* StatusBarEdges() const { return element(settings_.StatusBarEdges); }
  const SkinElement* ComboButton() const { return element(settings_.ComboButton); }
  const SkinElement* SunkEdge() const { return element(settings_.SunkEdge); }
  const SkinElement* ExtraImages() const { return element(settings_.ExtraImages); }
  const SkinElement* Headerbar() const { return element(settings_.Headerbar); }
  const SkinElement* MenuItem() const { return element(settings_.MenuItem); }
  const SkinElement* MenuBackground() const { return element(settings_.MenuBackground); }
  const SkinElement* Scrollbar() const { return element(settings_.Scrollbar); }
  const SkinElement* HorzScroll() const { return element(settings_.HorzScroll); }
  const SkinElement* VertScroll() const { return element(settings_.VertScroll); }
  const SkinElement* HorzScrollThumb() const { return element(settings_.HorzScrollThumb); }
  const SkinElement* VertScrollThumb() const { return element(settings_.VertScrollThumb); }

  // The DIB section made, when the skin loaded, for one of this skin's pictures (an element's
  // Image, SecondImage, CheckImage or RadioImage); nullptr for an empty picture or one that
  // does not belong to the current skin.
  Bitmap* PictureBitmap(const vrin::Image& picture) const;
  // How many pictures have a DIB section.
  std::size_t PictureBitmapCount() const { return bitmaps_.size(); }

  // The first window icon met, for windows that have none; empty until the form skinner fills it.
  Bitmap& IconImage() { return iconImage_; }
  // A solid brush of the palette's ButtonFace colour; none until a skin loaded. Owned.
  HBRUSH FaceBrush() const { return faceBrush_.get(); }

  // Fires OnSkinChanged when assigned.
  void SkinChanged();

 protected:
  void loaded() override;

 private:
  template <class E>
  static const E* element(const std::optional<E>& e) { return e ? &*e : nullptr; }
  void makeBitmaps();

  bool active_ = false;
  int disableTag_ = 99;
  SkinControlTypes skinControls_ = kAllSkinControls;
  std::string skinFile_;
  SkinFormType formType_ = sfMainform;

  std::vector<std::uint8_t> compressed_;
  bool noSkin_ = true;
  std::string loadError_;
  SkinSettings settings_;
  std::map<const vrin::Image*, std::unique_ptr<Bitmap>> bitmaps_;
  Bitmap iconImage_;
  GdiObject<HBRUSH> faceBrush_;
};

}  // namespace vrin
