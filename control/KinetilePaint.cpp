// Painting: background, border, caption or image; the frame buffer and the
// resize step that keeps the control at its image's size.
#include <olectl.h>

#include "Drawing.h"
#include "FrameRender.h"
#include "GdiHandles.h"
#include "Kinetile.h"
#include "Rounding.h"

namespace kinetile {
namespace {

COLORREF Translated(OLE_COLOR color) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(color, nullptr, &rgb))) rgb = 0;
    return rgb;
}

int TwipsPerPixel(bool horizontal) {
    WindowDC screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), horizontal ? LOGPIXELSX : LOGPIXELSY) : 96;
    return 1440 / (dpi > 0 ? dpi : 96);
}

// The surface's fixed font: "Times New Roman", 9 point, regular.
FontHandle CaptionFont(HDC dc) {
    const int height = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
    return FontHandle(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Times New Roman"));
}

}  // namespace

int Kinetile::BorderAllowance() const { return (m_BorderStyle == 1 || m_BorderStyle == 2) ? 2 : 0; }

void Kinetile::Paint(HDC dc) {
    const int width = ScaleWidth(), height = ScaleHeight();
    if (m_BackStyle == 1) {
        BrushHandle background(CreateSolidBrush(Translated(BackColor())));
        const RECT all{0, 0, width, height};
        FillRect(dc, &all, background.get());
    }
    DrawBorder(dc, static_cast<int32_t>(Translated(m_BorderColor)), m_BorderStyle, width, height);

    if (!HasImage()) {
        FontHandle font = CaptionFont(dc);
        SelectedObject selected(dc, font.get());
        SIZE text{};
        GetTextExtentPoint32W(dc, m_Caption.c_str(), static_cast<int>(m_Caption.size()), &text);
        const int saved = SaveDC(dc);
        SetBkMode(dc, TRANSPARENT);  // only the text itself is drawn
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        // Centred in single precision, as the surface's CurrentX/CurrentY would be.
        const float x = (width - text.cx) / 2.0f, y = (height - text.cy) / 2.0f;
        TextOutW(dc, static_cast<int>(x), static_cast<int>(y), m_Caption.c_str(), static_cast<int>(m_Caption.size()));
        RestoreDC(dc, saved);
        return;
    }
    if (!m_Scene) {
        // An image without frames shows nothing of its own.
        if (!EnsureScene()) return;
        RenderFrame(m_Playback.CurrentFrame());
    }
    CopySceneToSurface(dc);
}

bool Kinetile::EnsureScene() {
    if (m_Scene) return true;
    if (!HasImage() || m_Frames.empty()) return false;
    m_Scene = std::make_unique<Scene>();
    const size_t current = static_cast<size_t>(m_Playback.CurrentFrame());
    // The key colour is the current frame's, frame 0 after every assignment.
    m_Scene->BackColor(m_Frames[current < m_Frames.size() ? current : 0].TransColor);
    m_Scene->CreateScene(SurfaceDC(), m_ImageWidth, m_ImageHeight);
    CentreScene();
    return true;
}

void Kinetile::CopySceneToSurface(HDC dc) {
    const int x = m_Scene->X(), y = m_Scene->Y();
    // Opaque or keyed is decided by frame 0 alone, whatever frame is current.
    if (!m_Frames[0].IsTransparent()) {
        BitBlt(dc, x, y, m_ImageWidth, m_ImageHeight, m_Scene->hdc(), 0, 0, SRCCOPY);
    } else if (m_TransBltMode == 1 && SystemTransparentBlt()) {
        SystemTransparentBlt()(dc, x, y, m_ImageWidth, m_ImageHeight, m_Scene->hdc(), 0, 0, m_ImageWidth,
                               m_ImageHeight, static_cast<UINT>(m_Scene->BackColor()));
    } else {
        TransparentBltMasked(dc, x, y, m_ImageWidth, m_ImageHeight, m_Scene->hdc(), 0, 0, m_Scene->BackColor());
    }
}

void Kinetile::RenderFrame(int32_t n) {
    // A tick before the first paint makes the buffer it draws into.
    if (n < 0 || static_cast<size_t>(n) >= m_Frames.size() || !EnsureScene()) return;
    const FrameSet set{m_DataArrary, m_Frames, m_Screen, m_ColorTableSize};
    ComPtr<IPicture> picture = ComposeFrame(*m_Scene, set, n);
    // Without the system's keyed blit, painted-pixel hit tests use a region
    // of frame 0's opaque pixels, built once per buffer.
    if (picture && m_TransBltMode != 1 && n == 0 && m_HitBehavior == 2 && !m_Scene->hRegion()) {
        OLE_HANDLE handle = 0;
        if (SUCCEEDED(picture->get_Handle(&handle)))
            m_Scene->CreateRegion(static_cast<HBITMAP>(LongToHandle(static_cast<LONG>(handle))), m_Frames[0].TransIndex);
    }
}

void Kinetile::CentreScene() {
    if (!m_Scene) return;
    m_Scene->Y(RoundHalfEven((ScaleHeight() - m_ImageHeight) / 2.0));
    m_Scene->X(RoundHalfEven((ScaleWidth() - m_ImageWidth) / 2.0));
}

void Kinetile::Resize() {
    if (!HasImage()) return;
    const int allowance = BorderAllowance();
    if (m_AutoSize)
        SetSizeTwips(static_cast<double>(m_ImageWidth + allowance) * TwipsPerPixel(true),
                     static_cast<double>(m_ImageHeight + allowance) * TwipsPerPixel(false));
    CentreScene();
}

}  // namespace kinetile
