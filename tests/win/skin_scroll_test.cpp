// Skinned scroll bars on real windows: the bars of a list box, the stand-alone scroll bar
// control and a list view, their pixels checked against the skin's own pictures; thumb drags
// by real mouse input; odd ranges; the window or the skinner going away during a drag.
#include <gtest/gtest.h>

#include <windows.h>
#include <winternl.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/bmp.h"
#include "skin/controls/control_paint.h"
#include "skin/controls/scroll_bars.h"
#include "skin/controls/tabs_header.h"
#include "skin/pure/skin_container.h"
#include "skin/skin_data.h"
#include "support/source_files.h"
#include "support/win_test_util.h"
#include "ui/form.h"
#include "ui/scrollctrls.h"
#include "ui/stdctrls.h"

using namespace vrin;
using vrin::test::gdiObjects;
using vrin::test::pumpUntil;
using vrin::test::readFile;
using vrin::test::sourcePath;

namespace {

SkinData& skin() {
  static SkinData* data = [] {
    auto* s = new SkinData(nullptr);
    s->ReadSkinStream(writeSkinStream(readFile(sourcePath("resources/skin/vrin.skn"))));
    return s;
  }();
  return *data;
}

Image picture(const char* name) {
  const auto bytes = readFile(sourcePath(std::string("resources/skin/") + name));
  return decodeBmp(bytes.data(), bytes.size());
}

COLORREF ref(Pixel p) { return RGB(red(p), green(p), blue(p)); }
COLORREF pixelAt(HWND hwnd, int x, int y) {
  WindowDC dc(hwnd, WindowDC::Area::Window);
  return GetPixel(dc.get(), x, y);
}

void pump(DWORD ms) {
  const DWORD start = GetTickCount();
  pumpUntil([&] { return GetTickCount() - start >= ms; }, ms + 1000);
}

// Share of the arrow square at `at` (window coordinates, a x a) showing frame `frame` of the
// arrow strip: the frame stretched along the bar and across, magenta showing ScrollbarColor.
double arrowMatch(HWND hwnd, Rect at, int frame, bool horizontal) {
  static const Image arrows = picture("arrows.bmp");
  const Pixel back = pixelOf(skin().SkinColors().ScrollbarColor);
  const int fw = arrows.width / kScrollbarFrames, a = at.width();
  int same = 0, total = 0;
  for (int along = 0; along < a; ++along)
    for (int across = 0; across < a; ++across) {
      const int sAlong = along * fw / a;
      bool ok = false;
      for (int sAcross : {across * kBarThickness / a, (2 * across + 1) * kBarThickness / (2 * a)}) {
        Pixel p = horizontal ? arrows.at((frame - 1) * fw + sAlong, sAcross) : arrows.at((frame - 1) * fw + sAcross, sAlong);
        if ((p & 0xFFFFFF) == (kKeyColour & 0xFFFFFF)) p = back;
        ok = ok || pixelAt(hwnd, at.left + (horizontal ? along : across), at.top + (horizontal ? across : along)) == ref(p);
      }
      same += ok;
      ++total;
    }
  return double(same) / total;
}

Rect arrowSquare(const Rect& bar, bool horizontal, bool second) {
  const int a = GetSystemMetrics(SM_CXHSCROLL);
  if (horizontal) return second ? Rect{bar.right - a, bar.top, bar.right, bar.bottom} : Rect{bar.left, bar.top, bar.left + a, bar.bottom};
  return second ? Rect{bar.left, bar.bottom - a, bar.right, bar.bottom} : Rect{bar.left, bar.top, bar.right, bar.top + a};
}

// Real mouse input, from another thread while this one runs the drag loop.
void mouse(DWORD flags, int x = 0, int y = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  if (flags & MOUSEEVENTF_MOVE) {
    SetCursorPos(x, y);
    in.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  }
  SendInput(1, &in, sizeof in);
  Sleep(25);
}

// Holds the left button down at (x, y) for 400 ms from another thread, while the system's
// scroll loop runs on this one; `during` runs from a timer while the button is down.
void holdPress(int x, int y, std::function<void()> during) {
  static std::function<void()> duringPress;
  duringPress = std::move(during);
  std::atomic<bool> done{false};
  std::thread input([&] {
    mouse(MOUSEEVENTF_MOVE, x, y);
    mouse(MOUSEEVENTF_LEFTDOWN);
    Sleep(400);
    mouse(MOUSEEVENTF_LEFTUP);
    done = true;
  });
  const UINT_PTR timer = SetTimer(nullptr, 0, 250, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    duringPress();
  });
  pumpUntil([&] { return done.load(); });
  input.join();
  KillTimer(nullptr, timer);
  pump(100);
}

class Scroll : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(skin().NoSkin()) << skin().LoadError();
    form = new Form(nullptr);
    form->setCaption("Scroll");
    form->setBounds(40, 40, 600, 460);
    form->show();
    SetForegroundWindow(form->handle());
  }
  void TearDown() override {
    skinners.clear();
    delete form;
  }
  // A raw list box with both bars, 300 long lines.
  HWND listBoxWithBothBars(int x, int y) {
    HWND h = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT,
                             x, y, 220, 180, form->handle(), nullptr, nullptr, nullptr);
    for (int i = 0; i < 300; ++i)
      SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((L"entry " + std::to_wstring(i) + std::wstring(60, L'x')).c_str()));
    SendMessageW(h, LB_SETHORIZONTALEXTENT, 1500, 0);
    return h;
  }
  template <class S>
  S* attach(HWND h, WinControl* control = nullptr) {
    auto s = std::make_unique<S>(nullptr);
    if (control) s->AttachControl(*control, skin(), true, canvas);
    else s->AttachWindow(h, skin(), canvas);
    S* raw = s.get();
    skinners.push_back(std::move(s));
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    pump(50);
    return raw;
  }
  Form* form = nullptr;
  Canvas canvas;
  std::vector<std::unique_ptr<SkinControl>> skinners;
};

TEST_F(Scroll, ListBoxDrawsBothBarsAndFillsTheCornerAndAPressedArrow) {
  const HWND h = listBoxWithBothBars(10, 10);
  auto* s = attach<SkinScrollBar>(h);
  const BarLayout& l = s->layout();
  ASSERT_TRUE(l.hasHorizontal && l.hasVertical);
  EXPECT_GT(arrowMatch(h, arrowSquare(l.horizontal, true, false), 1, true), 0.95);
  EXPECT_GT(arrowMatch(h, arrowSquare(l.horizontal, true, true), 5, true), 0.95);
  EXPECT_GT(arrowMatch(h, arrowSquare(l.vertical, false, false), 9, false), 0.95);
  EXPECT_GT(arrowMatch(h, arrowSquare(l.vertical, false, true), 13, false), 0.95);
  const COLORREF face = ref(pixelOf(skin().SkinColors().ButtonFaceColor));
  for (int y = l.corner.top; y < l.corner.bottom; y += 4)
    for (int x = l.corner.left; x < l.corner.right; x += 4) EXPECT_EQ(pixelAt(h, x, y), face);

  // A real press on the up arrow is left to the list box, whose scrolling shows it pressed;
  // the two frames differ enough for the check to mean something.
  SendMessageW(h, LB_SETTOPINDEX, 1, 0);
  RECT wr{};
  GetWindowRect(h, &wr);
  const Rect up = arrowSquare(l.vertical, false, false);
  ASSERT_LT(arrowMatch(h, up, 10, false), 0.8);
  double pressedShare = 0;
  holdPress(wr.left + up.left + 8, wr.top + up.top + 8, [&] { pressedShare = arrowMatch(h, up, 10, false); });
  EXPECT_GT(pressedShare, 0.95);
  EXPECT_EQ(SendMessageW(h, LB_GETTOPINDEX, 0, 0), 0);
  EXPECT_GT(arrowMatch(h, up, 9, false), 0.95);
}

TEST_F(Scroll, ThumbDragPostsTrackOnlyOnChangeAndOnePositionAtTheEnd) {
  auto* list = new ListBox(form);
  list->setParent(form);
  list->setBounds(10, 10, 240, 200);
  for (int i = 0; i < 300; ++i) list->add("http://entry" + std::to_string(i) + ".example/");
  const HWND h = list->handle();
  auto* s = attach<SkinScrollBar>(h, list);
  // What reaches the list box, in front of everything else.
  static std::vector<std::pair<int, int>> seen;
  seen.clear();
  const auto recorder = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) -> LRESULT {
    if (msg == WM_VSCROLL) seen.emplace_back(LOWORD(wp), HIWORD(wp));
    return DefSubclassProc(hwnd, msg, wp, lp);
  };
  SetWindowSubclass(h, recorder, 1, 0);

  RECT wr{};
  GetWindowRect(h, &wr);
  const Rect bar = s->layout().vertical;
  const BarMetrics m = s->metrics(false);
  const int x = wr.left + bar.left + 8, y = wr.top + bar.top + m.arrow + m.thumbOffset + m.thumbSize / 2;
  std::atomic<bool> done{false};
  std::thread input([&] {
    mouse(MOUSEEVENTF_MOVE, x, y);
    mouse(MOUSEEVENTF_LEFTDOWN);
    for (int d = 1; d <= 60; d += 3) mouse(MOUSEEVENTF_MOVE, x, y + d);
    for (int dx = 1; dx <= 5; ++dx) mouse(MOUSEEVENTF_MOVE, x + dx * 10, y + 58);  // across: no change
    mouse(MOUSEEVENTF_MOVE, x + 300, y + 80);  // outside the window, the release there too
    mouse(MOUSEEVENTF_LEFTUP);
    done = true;
  });
  pumpUntil([&] { return done.load(); }, 10000);
  input.join();
  pump(200);
  RemoveWindowSubclass(h, recorder, 1);

  EXPECT_FALSE(s->thumbTracking());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
  ASSERT_GE(seen.size(), 3u);
  int previous = 0;
  for (std::size_t i = 0; i + 1 < seen.size(); ++i) {
    EXPECT_EQ(seen[i].first, SB_THUMBTRACK) << i;
    EXPECT_NE(seen[i].second, previous) << "a track message without a change at " << i;
    EXPECT_GT(seen[i].second, previous);
    previous = seen[i].second;
  }
  EXPECT_EQ(seen.back().first, SB_THUMBPOSITION);
  EXPECT_EQ(seen.back().second, previous);
  EXPECT_EQ(list->topIndex(), previous);
  EXPECT_EQ(s->pressedPart(), kPartNone);
}

TEST_F(Scroll, DragEndsWhenTheWindowOrTheSkinnerGoes) {
  for (bool freeSkinner : {false, true}) {
    const HWND h = listBoxWithBothBars(10, 10);
    auto* s = attach<SkinScrollBar>(h);
    RECT wr{};
    GetWindowRect(h, &wr);
    const BarMetrics m = s->metrics(false);
    const Rect bar = s->layout().vertical;
    static HWND victim;
    static std::vector<std::unique_ptr<SkinControl>>* owned;
    victim = h;
    owned = freeSkinner ? &skinners : nullptr;
    std::atomic<bool> pressed{false};
    std::thread input([&] {
      mouse(MOUSEEVENTF_MOVE, wr.left + bar.left + 8, wr.top + bar.top + m.arrow + m.thumbOffset + 3);
      mouse(MOUSEEVENTF_LEFTDOWN);
      mouse(MOUSEEVENTF_MOVE, wr.left + bar.left + 8, wr.top + bar.top + m.arrow + m.thumbOffset + 20);
      pressed = true;
    });
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      if (owned) {
        owned->clear();
      } else {
        DestroyWindow(victim);
      }
    });
    const bool ended = pumpUntil([&] { return pressed && (freeSkinner ? skinners.empty() : !IsWindow(h)); }, 5000);
    input.join();
    mouse(MOUSEEVENTF_LEFTUP);
    KillTimer(nullptr, timer);
    pump(100);
    EXPECT_TRUE(ended) << freeSkinner;
    EXPECT_NE(GetCapture(), h);
    if (freeSkinner) EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
    else EXPECT_FALSE(s->thumbTracking());
    if (IsWindow(h)) DestroyWindow(h);
    skinners.clear();
  }
}

TEST_F(Scroll, WithoutTheArrowPictureTheSystemBarsStay) {
  std::vector<SkinEntry> entries;
  for (const char* name : {"vrinset.ini", "hscroll.bmp", "hscroll2.bmp", "vscroll.bmp", "vscroll2.bmp"}) {
    std::vector<std::uint8_t> bytes = readFile(sourcePath(std::string("resources/skin/") + name));
    std::string text(bytes.begin(), bytes.end());
    if (text.find("Image=arrows.bmp") != std::string::npos) text.replace(text.find("Image=arrows.bmp"), 16, "Image=gone.bmp");
    entries.push_back({name, std::vector<std::uint8_t>(text.begin(), text.end())});
  }
  SkinData bare(nullptr);
  bare.ReadSkinStream(writeSkinStream(packSkin(entries)));
  ASSERT_FALSE(bare.NoSkin()) << bare.LoadError();
  ASSERT_NE(bare.Scrollbar(), nullptr);
  const HWND h = listBoxWithBothBars(10, 10);
  pump(100);
  RECT wr{};
  GetWindowRect(h, &wr);
  const auto column = [&] {
    std::vector<COLORREF> c;
    for (int y = 0; y < wr.bottom - wr.top; y += 3) c.push_back(pixelAt(h, wr.right - wr.left - 10, y));
    return c;
  };
  const std::vector<COLORREF> before = column();
  SkinScrollBar s(nullptr);
  s.AttachWindow(h, bare, canvas);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  pump(100);
  EXPECT_EQ(column(), before);
}

TEST_F(Scroll, OddRangesKeepTheThumbInsideTheTrack) {
  // A window that leaves its scroll values to whoever sets them.
  const HWND h = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                 10, 10, 200, 180, form->handle(), nullptr, nullptr, nullptr);
  auto* s = attach<SkinScrollBar>(h);
  // A range up to 0x7FFFFFFF (2^31 - 1 positions) scrolled to its end, an eighth of it a page,
  // and a page larger than the range.
  // The bars stay (SIF_DISABLENOSCROLL) even where nothing is left to scroll.
  SCROLLINFO v{sizeof v, SIF_ALL | SIF_DISABLENOSCROLL, 1, 0x7FFFFFFF, 0x10000000, 0x7FFFFFFF, 0};
  SetScrollInfo(h, SB_VERT, &v, FALSE);
  SCROLLINFO w{sizeof w, SIF_ALL | SIF_DISABLENOSCROLL, 0, 10, 50, 5, 0};
  SetScrollInfo(h, SB_HORZ, &w, FALSE);
  s->RepaintSkin();
  const BarMetrics vm = s->metrics(false), hm = s->metrics(true);
  EXPECT_EQ(vm.thumbOffset + vm.thumbSize, vm.track);
  EXPECT_NEAR(vm.thumbSize, vm.track / 8, 1);
  EXPECT_EQ(hm.thumbOffset, 0);
  EXPECT_LT(hm.thumbSize, hm.track);
  EXPECT_GE(hm.thumbSize, hm.track - 1);
}

TEST_F(Scroll, ScrollBarControlTakesItsReflectedNotificationsAndShowsThePress) {
  auto* bar = new ScrollBar(form);
  bar->setParent(form);
  bar->setBounds(10, 300, 300, 17);
  bar->SetParams(10, 0, 200);
  int changes = 0;
  bar->onChange = NotifyEvent::fn([&](Component*) { ++changes; });
  const HWND h = bar->handle();
  auto* s = attach<SkinScControl>(h, bar);
  const Rect whole{0, 0, 300, 17};
  EXPECT_GT(arrowMatch(h, arrowSquare(whole, true, false), 1, true), 0.95);
  // The form hands the bar's notification back to the bar.
  SendMessageW(form->handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(h));
  EXPECT_EQ(bar->Position(), 11);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(s->pressedPart(), kPartRightArrow);
  EXPECT_GT(arrowMatch(h, arrowSquare(whole, true, true), 6, true), 0.95);
  SendMessageW(form->handle(), WM_HSCROLL, SB_BOTTOM, reinterpret_cast<LPARAM>(h));
  EXPECT_EQ(bar->Position(), 200);
  // A real press on the left arrow: the system's loop moves the bar, shown pressed meanwhile
  // and normal again once the loop is over.
  RECT wr{};
  GetWindowRect(h, &wr);
  double pressedShare = 0;
  holdPress(wr.left + 8, wr.top + 8, [&] { pressedShare = arrowMatch(h, arrowSquare(whole, true, false), 2, true); });
  EXPECT_LT(bar->Position(), 200);
  EXPECT_GT(pressedShare, 0.95);
  EXPECT_GT(arrowMatch(h, arrowSquare(whole, true, false), 1, true), 0.95);
  EXPECT_THROW(bar->SetParams(0, 5, 4), Error);
  EXPECT_EQ(bar->Max(), 200);
}

TEST_F(Scroll, TenThousandRepaintsLeaveTheGdiCountWhereItWas) {
  const HWND h = listBoxWithBothBars(10, 10);
  auto* listSkin = attach<SkinScrollBar>(h);
  auto* bar = new ScrollBar(form);
  bar->kind = ScrollBarKind::Vertical;
  bar->setParent(form);
  bar->setBounds(300, 10, 17, 200);
  auto* barSkin = attach<SkinScControl>(bar->handle(), bar);
  auto* view = new ListView(form);
  view->setParent(form);
  view->setBounds(330, 10, 240, 200);
  view->setColumns({{"Address", 150}, {"Time", 150}});
  for (int i = 0; i < 60; ++i) view->addItem({"http://a" + std::to_string(i) + ".example/", "12:00"});
  auto* viewSkin = attach<SkinListView>(view->handle(), view);
  ASSERT_NE(viewSkin->header(), nullptr);
  EXPECT_TRUE(viewSkin->header()->attached());
  EXPECT_TRUE(viewSkin->layout().hasVertical);
  auto* memo = new Memo(form);
  memo->scrollBars = ScrollStyle::Both;
  memo->setParent(form);
  memo->setBounds(10, 220, 200, 120);
  memo->setLines(std::vector<std::string>(80, std::string(120, 'm')));
  auto* memoSkin = attach<SkinScrollBar>(memo->handle(), memo);
  EXPECT_TRUE(memoSkin->layout().hasHorizontal && memoSkin->layout().hasVertical);
  auto* tree = new TreeView(form);
  tree->setParent(form);
  tree->setBounds(330, 220, 200, 120);
  for (int i = 0; i < 40; ++i) tree->addItem(nullptr, "node " + std::to_string(i));
  auto* treeSkin = attach<SkinScrollBar>(tree->handle(), tree);
  EXPECT_TRUE(treeSkin->layout().hasVertical);

  // Each skinner draws its control's bars from the skin.
  for (SkinScrollBar* skinned : std::initializer_list<SkinScrollBar*>{viewSkin, memoSkin, treeSkin})
    EXPECT_GT(arrowMatch(skinned->window(), arrowSquare(skinned->layout().vertical, false, false), 9, false), 0.95);

  const long before = long(gdiObjects());
  ASSERT_GT(before, 0);
  for (int i = 0; i < 10000; ++i) {
    listSkin->RepaintSkin();
    barSkin->RepaintSkin();
    viewSkin->RepaintSkin();
    memoSkin->RepaintSkin();
    treeSkin->RepaintSkin();
  }
  const long after = long(gdiObjects());
  std::printf("GDI objects before %ld, after 10,000 repaints of each scroll skinner %ld\n", before, after);
  EXPECT_EQ(after, before);
}

}  // namespace
