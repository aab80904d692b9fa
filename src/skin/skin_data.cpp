#include "skin/skin_data.h"

#include <utility>

#include "skin/pure/skin_container.h"
#include "skin/pure/skin_load.h"
#include "skin/skin_manager.h"
#include "ui/application.h"

namespace vrin {

namespace {

// Larger files are not skins: a skin decodes to at most kLzhDefaultSizeLimit bytes and LZHUF
// never doubles its input.
constexpr std::uint64_t kMaxSkinFileSize = 2ull * kLzhDefaultSizeLimit;

void defaultSkinMessage(const std::string& text) {
  MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(application().title()).c_str(), MB_OK);
}

// The whole file, or false when it cannot be read or is too large to be a skin.
bool readWholeFile(const std::string& fileName, std::vector<std::uint8_t>& out) {
  HANDLE file = CreateFileW(widen(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = false;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && std::uint64_t(size.QuadPart) <= kMaxSkinFileSize) {
    std::vector<std::uint8_t> bytes(std::size_t(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr) && got == bytes.size());
    if (ok) out = std::move(bytes);
  }
  CloseHandle(file);
  return ok;
}

bool fileExists(const std::string& fileName) {
  const DWORD attributes = GetFileAttributesW(widen(fileName).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every picture of a skin, for making their DIB sections.
template <class Fn>
void forEachPicture(const SkinSettings& s, Fn fn) {
  auto plain = [&](const SkinElement& e) { fn(e.Image); };
  auto border = [&](const SkinBorderElement& e) {
    fn(e.Image);
    fn(e.SecondImage);
  };
  border(s.BorderLeft);
  border(s.BorderRight);
  border(s.BorderTop);
  border(s.BorderBottom);
  plain(s.Title);
  fn(s.Buttons.Image);
  fn(s.Buttons.CheckImage);
  fn(s.Buttons.RadioImage);
  for (const SkinSysButtonElement& b : s.SysButtons) plain(b);
  if (s.Tabs) border(*s.Tabs);
  for (const std::optional<SkinElement>* e :
       {&s.MenuBar, &s.Progress, &s.GroupBoxEdge, &s.Toolbars, &s.StatusBarEdges, &s.ComboButton, &s.SunkEdge,
        &s.ExtraImages, &s.Headerbar, &s.MenuItem, &s.MenuBackground, &s.Scrollbar, &s.HorzScroll, &s.VertScroll,
        &s.HorzScrollThumb, &s.VertScrollThumb})
    if (*e) plain(**e);
}

}  // namespace

SkinMessageFn& skinMessageHandler() {
  static SkinMessageFn handler = &defaultSkinMessage;
  return handler;
}

void showSkinMessage(const std::string& text) {
  if (SkinMessageFn fn = skinMessageHandler()) fn(text);
}

std::vector<std::uint8_t> skinStreamResource(const char* name) {
  HMODULE module = moduleInstance();
  HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
  HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  const auto* bytes = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = info ? SizeofResource(module, info) : 0;
  if (!bytes) throw Error(std::string("Ressource ") + name + " introuvable");
  if (size > 0x7FFFFFFFu) throw Error(std::string("Ressource ") + name + " trop grande");
  return writeSkinStream(std::vector<std::uint8_t>(bytes, bytes + size));
}

const ClassInfo& SkinData::staticClassInfo() {
  static const ClassInfo info{
      "TSkinData",
      &Component::staticClassInfo(),
      {boolProp<SkinData>("Active", &SkinData::Active, &SkinData::SetActive),
       intProp<SkinData>("DisableTag", &SkinData::DisableTag, &SkinData::SetDisableTag),
       setProp<SkinData>("SkinControls",
                         {"xcMainMenu", "xcPopupMenu", "xcToolbar", "xcControlbar", "xcCombo", "xcCheckBox",
                          "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton", "xcBitBtn",
                          "xcSpeedButton", "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab"},
                         &SkinData::SkinControls, &SkinData::SetSkinControls),
       stringProp<SkinData>("SkinFile", &SkinData::SkinFile, &SkinData::SetSkinFile),
       stringProp<SkinData>("SkinStore", &SkinData::SkinStore, &SkinData::SetSkinStore),
       enumProp<SkinData, SkinFormType>("SkinFormtype", {"sfMainform", "sfOnlyThisForm", "sfDialog"},
                                        &SkinData::SkinFormtype, &SkinData::SetSkinFormtype)}};
  return info;
}

SkinData::SkinData(Component* owner) : Component(owner) {
  if (!designing()) SkinManager::create().registerSkinData(this);
}

SkinData::~SkinData() {
  if (SkinManager* manager = SkinManager::instance()) manager->unregisterSkinData(this);
}

void SkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (designing() || loading() || formType_ != sfMainform) return;
  if (value && noSkin_) return;
  if (SkinManager* manager = SkinManager::instance()) manager->request(value ? saSwitchOn : saSwitchOff);
}

void SkinData::loaded() {
  Component::loaded();
  if (designing() || !active_) return;
  if (noSkin_) {
    active_ = false;
    return;
  }
  if (SkinManager* manager = SkinManager::instance()) manager->request(saSwitchOn);
}

void SkinData::SetSkinFile(const std::string& fileName) {
  noSkin_ = true;
  skinFile_ = fileName;
  if (designing()) {
    if (!fileName.empty()) compressed_.clear();
    return;
  }
  if (fileName.empty() || !fileExists(fileName)) return;
  std::vector<std::uint8_t> bytes;
  if (!readWholeFile(fileName, bytes)) {
    loadError_ = "cannot read the skin file " + fileName;
    return;
  }
  compressed_ = std::move(bytes);
  if (!LoadSkin()) return;
  if (loading() || formType_ != sfMainform) return;
  if (SkinManager* manager = SkinManager::instance()) {
    manager->ChangedSkinData = this;
    manager->request(saSkinChanged);
  }
}

std::string SkinData::SkinStore() const { return designing() && !compressed_.empty() ? "(Good)" : "(none)"; }

void SkinData::ReadSkinStream(const std::uint8_t* data, std::size_t size, std::size_t* consumed) {
  std::vector<std::uint8_t> value = readSkinStream(data, size, consumed);
  if (value.empty()) return;  // L <= 0: no skin stored
  compressed_ = std::move(value);
  if (!designing()) LoadSkin();
}

std::vector<std::uint8_t> SkinData::WriteSkinStream() const { return writeSkinStream(compressed_); }

bool SkinData::LoadSkin() {
  noSkin_ = true;
  loadError_.clear();
  if (designing()) return false;
  SkinLoadResult result = loadSkin(compressed_);
  if (result.status == SkinLoadStatus::OlderVersion) {
    loadError_ = "the skin container is of another version";
    showSkinMessage(kOlderSkinMessage);
    return false;
  }
  if (result.status != SkinLoadStatus::Loaded) {
    loadError_ = result.error;
    return false;
  }
  bitmaps_.clear();
  settings_ = std::move(result.settings);
  makeBitmaps();
  faceBrush_.reset(CreateSolidBrush(colorToRGB(settings_.SkinColors.ButtonFaceColor)));
  noSkin_ = false;
  if (SkinManager* manager = SkinManager::instance()) manager->skinReloaded(this);
  return true;
}

void SkinData::makeBitmaps() {
  forEachPicture(settings_, [this](const vrin::Image& picture) {
    if (picture.empty()) return;
    auto bitmap = std::make_unique<Bitmap>();
    bitmap->fromImage(picture);
    if (!bitmap->empty()) bitmaps_[&picture] = std::move(bitmap);
  });
}

Bitmap* SkinData::PictureBitmap(const vrin::Image& picture) const {
  const auto it = bitmaps_.find(&picture);
  return it == bitmaps_.end() ? nullptr : it->second.get();
}

void SkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

}  // namespace vrin
