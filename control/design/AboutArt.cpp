#include "AboutArt.h"

#include "GdiHandles.h"

namespace kinetile {

const wchar_t* const kMakerSite = L"http://quillmark.cn";
const wchar_t* const kMakerEmail = L"kt@quillmark.cn";

namespace {

FontHandle Font(int height, int weight, const wchar_t* face, BYTE charset) {
    return FontHandle(CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face));
}

void Text(HDC dc, const wchar_t* text, RECT r, UINT format) { DrawTextW(dc, text, -1, &r, format | DT_NOPREFIX); }

}  // namespace

void DrawAboutArt(HDC dc, int width, int height, const RECT& siteText, const RECT& emailText) {
    // White ground with a blue band across the top two thirds.
    BrushHandle white(CreateSolidBrush(RGB(255, 255, 255)));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, white.get());
    const int band = height * 2 / 3;
    for (int y = 0; y < band; ++y) {
        const int t = y * 255 / (band > 0 ? band : 1);
        BrushHandle line(CreateSolidBrush(RGB(20 + t / 6, 60 + t / 4, 150 + t / 3)));
        const RECT row{0, y, width, y + 1};
        FillRect(dc, &row, line.get());
    }
    // A strip of film frames: what the control shows.
    for (int i = 0; i < 5; ++i) {
        const int x = 24 + i * 34;
        BrushHandle frame(CreateSolidBrush(RGB(250, 200 - i * 25, 40 + i * 40)));
        const RECT cell{x, band - 52, x + 28, band - 20};
        FillRect(dc, &cell, frame.get());
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    {
        FontHandle title = Font(30, FW_BOLD, L"Times New Roman", DEFAULT_CHARSET);
        SelectedObject font(dc, title.get());
        Text(dc, L"Kinetile", RECT{20, 14, width - 20, 50}, DT_LEFT | DT_SINGLELINE);
    }
    {
        FontHandle body = Font(12, FW_NORMAL, L"宋体", GB2312_CHARSET);
        SelectedObject font(dc, body.get());
        Text(dc, L"动画按钮 ActiveX 控件", RECT{22, 54, width - 20, 72}, DT_LEFT | DT_SINGLELINE);
    }
    FontHandle links = Font(11, FW_NORMAL, L"Arial", DEFAULT_CHARSET);
    SelectedObject font(dc, links.get());
    SetTextColor(dc, RGB(40, 70, 160));
    Text(dc, L"quillmark.cn", siteText, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    Text(dc, kMakerEmail, emailText, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
}

}  // namespace kinetile
