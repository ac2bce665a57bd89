// The banner at the screen's scale. The test command runs these tests once more with the Wine
// prefix set to 144 dpi (RURUZIR_SCREEN_DPI tells them which scale to expect).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "tests/gui/gui_harness.h"

using namespace ruruzir;

namespace gui {
namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);  // no colour of the 16-colour artwork

// A 32-bit picture of `width` x `height` pixels selected into a memory context.
class Canvas {
 public:
  Canvas(HDC reference, int width, int height) : width_(width), height_(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(reference);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    pixels_ = static_cast<const DWORD*>(bits);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(kUntouched);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    GdiFlush();
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // The pixel as a COLORREF.
  COLORREF At(int x, int y) const {
    GdiFlush();
    const DWORD p = pixels_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int UntouchedPixels() const {
    int count = 0;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) count += At(x, y) == kUntouched;
    }
    return count;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  const DWORD* pixels_ = nullptr;
};

class ScreenScaleTest : public GuiTest {
 protected:
  static int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
  }

  // The banner as the window draws it, into a canvas of the button's size.
  void DrawBanner(const Canvas& canvas, const RECT& area, bool pressed) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_BANNER;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = pressed ? ODS_SELECTED : 0;
    item.hwndItem = GetDlgItem(window_, IDC_BANNER);
    item.hDC = canvas.dc();
    item.rcItem = area;
    DrawBannerButton(window_, &item);
  }
};

TEST_F(ScreenScaleTest, TheScreenHasTheScaleAskedFor) {
  const char* asked = std::getenv("RURUZIR_SCREEN_DPI");
  EXPECT_EQ(ScreenDpi(), asked ? std::atoi(asked) : 96);
}

TEST_F(ScreenScaleTest, TheArtworkFillsTheBanner) {
  OpenWindow();
  RECT area;
  GetClientRect(GetDlgItem(window_, IDC_BANNER), &area);
  ASSERT_GT(area.right, 0);
  for (const bool pressed : {false, true}) {
    SCOPED_TRACE(pressed ? "pressed" : "up");
    HDC reference = GetDC(window_);
    Canvas canvas(reference, area.right, area.bottom);
    ReleaseDC(window_, reference);
    DrawBanner(canvas, area, pressed);
    EXPECT_EQ(canvas.UntouchedPixels(), 0);
  }
}

// At 96 dpi the artwork's top-left part is copied pixel for pixel, as it always was.
TEST_F(ScreenScaleTest, AtNinetySixDpiTheArtworkIsCopiedUnscaled) {
  if (ScreenDpi() != 96) GTEST_SKIP() << "the screen is at " << ScreenDpi() << " dpi";
  OpenWindow();
  RECT area;
  GetClientRect(GetDlgItem(window_, IDC_BANNER), &area);
  HDC reference = GetDC(window_);
  Canvas drawn(reference, area.right, area.bottom);
  DrawBanner(drawn, area, false);
  Canvas copied(reference, area.right, area.bottom);
  HBITMAP artwork = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_BANNER_UP));
  HDC source = CreateCompatibleDC(reference);
  HGDIOBJ previous = SelectObject(source, artwork);
  BitBlt(copied.dc(), 0, 0, area.right, area.bottom, source, 0, 0, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
  DeleteObject(artwork);
  ReleaseDC(window_, reference);
  int different = 0;
  for (int y = 0; y < area.bottom; ++y) {
    for (int x = 0; x < area.right; ++x) different += drawn.At(x, y) != copied.At(x, y);
  }
  EXPECT_EQ(different, 0);
}

}  // namespace
}  // namespace gui
